#!/usr/bin/env python3
"""make_rules.py ROWS: writes a rules file of ROWS rows to standard output, shaped as a driver
packager's would be: one table per vendor, each row for a model family (shell patterns on the
model name and the product), a country or two, and the paper sizes it must not offer there."""
import sys

PAPERS = ['Postcard', 'DoublePostcardRotated', 'EnvChou3', 'EnvChou4', 'EnvKaku2', 'EnvYou4', '16K', '32K',
          'EnvPRC5', 'B5', 'B6', 'ISOB5', 'Executive', 'FanFoldGermanLegal', 'Env10', 'EnvMonarch', 'A5', 'Statement']
COUNTRIES = ['JP', 'CN', 'TW', 'HK', 'KR', 'DE', 'FR', 'US', 'CA', 'MX', 'BR', 'IN']


def make_rules(rows):
    per_table = 50
    out = ['# %d rows made by bench/make_rules.py\n' % rows]
    for r in range(rows):
        if r % per_table == 0:
            out.append('<Table vendor-%d>\n' % (r // per_table))
        country = COUNTRIES[r % len(COUNTRIES)]
        papers = ' '.join(PAPERS[(r + k) % len(PAPERS)] for k in range(6))
        out.append('  <Row>\n'
                   '    Manufacturer Vendor%d\n'
                   '    ModelName Vendor%d Series %d*\n'
                   '    Product (*%d*)\n'
                   '    ModelNumber %d-%d\n'
                   '    Country %s !none\n' % (r // per_table, r // per_table, r, r, r, r + 3, '!' + country)
                   if r % 3 == 0 else
                   '  <Row>\n'
                   '    Kind MonoLaser ColorLaser\n'
                   '    NickName Vendor%d %d*\n'
                   '    Country %s\n' % (r // per_table, r, country))
        out.append('    RemovePaper %s\n' % papers)
        if r % 5 == 0:
            out.append('    SetDefault PageSize A4\n')
        out.append('  </Row>\n')
        if r % per_table == per_table - 1 or r == rows - 1:
            out.append('</Table>\n')
    return ''.join(out)


def main():
    sys.stdout.write(make_rules(int(sys.argv[1])))


if __name__ == '__main__':
    main()
