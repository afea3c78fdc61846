# A private, real cupsd for tests, never the system's: `with Cupsd(driver, ppds, static, config) as c`.
# Its tree is a fresh directory under /tmp (a socket path must stay under 108 bytes, and the user lp
# that cupsd runs its helpers as must reach it): root/ (ServerRoot, with ppd-localize.conf and the
# queues' ppd/), bin/ (ServerBin: links to the system's CUPS programs, and driver/ holding only a copy
# of the program under test, so that cupsd's owner and mode checks do not depend on the build tree),
# data/ (DataDir: links to /usr/share/cups but model/, the given static PPDs, and drv/, which
# cups-driverd would compile on every scan), ppds/ (the driver's PPD directory), cache, state, spool,
# log. It listens on a Unix socket only, lets anyone do anything, runs as root with User lp, keeps its
# printcap in the tree and has no system bus to register queues on. It is stopped by its process id
# when the block ends, also on failure, and by the kernel should the test die first. cups-driverd
# still scans /usr/share/ppd and the like: callers compare only the names they placed.
import ctypes
import grp
import http.client
import os
import pathlib
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import time

SANITIZER_ENV = ('ASAN_OPTIONS', 'LSAN_OPTIONS', 'UBSAN_OPTIONS')  # passed on to the driver too
CUPSD_CONF = ('LogLevel debug\nMaxLogSize 0\nListen {d}/cupsd.sock\nBrowsing No\nBrowseLocalProtocols none\n'
              'WebInterface No\nDefaultAuthType None\nDefaultPaperSize None\n'
              '<Location />\nOrder allow,deny\nAllow all\n</Location>\n'
              '<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n</Limit>\n</Policy>\n')
CUPS_FILES_CONF = ('ServerRoot {d}/root\nServerBin {d}/bin\nDataDir {d}/data\nDocumentRoot {d}/data/doc-root\n'
                   'CacheDir {d}/cache\nStateDir {d}/state\nRequestRoot {d}/spool\nTempDir {d}/spool/tmp\n'
                   'ErrorLog {d}/log/error_log\nAccessLog {d}/log/access_log\nPageLog {d}/log/page_log\n'
                   'Printcap {d}/state/printcap\nFileDevice No\n{users}')


class Cupsd:
    def __init__(self, driver, ppds={}, static={}, config=None):
        """ppds, static: {relative name: file} for the driver's PPD directory and model/; config:
        ppd-localize.conf after its PPDDirectory line, None for no file."""
        self.driver, self.ppds, self.static, self.config, self.proc = driver, ppds, static, config, None

    def __enter__(self):
        os.umask(0o022)  # cupsd's helpers, as lp, read the whole tree
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix='ppdl-cupsd-', dir='/tmp'))
        try:
            self._start()
            return self
        except BaseException:
            self.__exit__()
            raise

    def __exit__(self, *exc):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)

    def _start(self):
        d, self.socket, self.root = self.dir, str(self.dir / 'cupsd.sock'), self.dir / 'root'
        d.chmod(0o755)
        for sub in ('root', 'ppds', 'cache', 'state', 'spool/tmp', 'log', 'bin/driver', 'data/model'):
            (d / sub).mkdir(parents=True)
        for system, mine, own in (('/usr/lib/cups', 'bin', ('driver',)), ('/usr/share/cups', 'data', ('model', 'drv'))):
            for entry in set(os.listdir(system)) - set(own):
                (d / mine / entry).symlink_to(os.path.join(system, entry))
        self.driver_path = d / 'bin/driver/ppd-localize'
        for path, src in [(self.driver_path, self.driver)] + [(d / 'ppds' / n, s) for n, s in self.ppds.items()] + [
                (d / 'data/model' / n, s) for n, s in self.static.items()]:
            path.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(src, path)
        self.driver_path.chmod(0o755)
        if self.config is not None:
            self.write_config(self.config)
        users = 'User lp\nGroup lp\nSystemGroup root\n' if os.geteuid() == 0 else (  # else cupsd runs all as us
            'SystemGroup %s\n' % grp.getgrgid(os.getegid()).gr_name)
        users += ''.join('PassEnv %s\n' % k for k in SANITIZER_ENV if k in os.environ)
        (d / 'root/cupsd.conf').write_text(CUPSD_CONF.format(d=d))
        (d / 'root/cups-files.conf').write_text(CUPS_FILES_CONF.format(d=d, users=users))
        with open(d / 'log/cupsd.out', 'wb') as out:
            self.proc = subprocess.Popen(['/usr/sbin/cupsd', '-f', '-c', d / 'root/cupsd.conf', '-s', d / 'root/cups-files.conf'],
                                         stdin=subprocess.DEVNULL, stdout=out, stderr=out, env=self.env(LC_ALL='C'),
                                         preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM))  # PR_SET_PDEATHSIG
        deadline = time.monotonic() + 20
        while self.proc.poll() is None and time.monotonic() < deadline:
            with socket.socket(socket.AF_UNIX) as s:
                if s.connect_ex(self.socket) == 0:
                    return
            time.sleep(0.05)
        raise RuntimeError('cupsd exited (%s) or did not listen within 20 s: %s' % (self.proc.poll(), self.log_tail()))

    def log_tail(self):
        logs = [self.dir / 'log/cupsd.out', self.dir / 'log/error_log']
        return ''.join(''.join(p.read_text(errors='replace').splitlines(True)[-20:]) for p in logs if p.exists())

    def write_config(self, text):
        (self.root / 'ppd-localize.conf').write_text('PPDDirectory %s/ppds\n%s' % (self.dir, text))

    def env(self, **extra):
        """A clean environment for cupsd and its clients; no system bus (cupsd would tell colord)."""
        return {'PATH': '/usr/sbin:/usr/bin:/sbin:/bin', 'CUPS_SERVER': self.socket, 'CUPS_SERVERROOT': str(self.root),
                'DBUS_SYSTEM_BUS_ADDRESS': 'unix:path=%s/no-bus' % self.dir,
                **{k: v for k, v in os.environ.items() if k in SANITIZER_ENV}, **extra}

    def run(self, argv, **env):
        return subprocess.run([str(a) for a in argv], env=self.env(**env), capture_output=True, timeout=60)

    def lpadmin(self, queue, model, lang='C', device=True):
        """lpadmin -p queue -E [-v file:///dev/null] -m model under LC_ALL=lang: (result, queue PPD or None)."""
        result = self.run(['lpadmin', '-p', queue, '-E'] + ['-v', 'file:///dev/null'] * device + ['-m', model], LC_ALL=lang)
        ppd = self.root / 'ppd' / (queue + '.ppd')
        return result, ppd.read_bytes() if ppd.exists() else None

    def get_ppds(self):
        """A CUPS-Get-PPDs request for all attributes: {ppd-name: {attribute: [values]}}."""
        def attr(tag, name, value):
            return struct.pack('>BH', tag, len(name)) + name.encode() + struct.pack('>H', len(value)) + value.encode()
        conn = http.client.HTTPConnection('localhost')
        conn.sock = socket.socket(socket.AF_UNIX)  # so that it never connects by TCP
        with conn.sock:
            conn.sock.settimeout(60)
            conn.sock.connect(self.socket)
            conn.request('POST', '/', struct.pack('>BBHIB', 2, 0, 0x400C, 1, 1) + attr(0x47, 'attributes-charset', 'utf-8') +
                         attr(0x48, 'attributes-natural-language', 'en') + attr(0x44, 'requested-attributes', 'all') + b'\x03',
                         {'Content-Type': 'application/ipp'})
            data = conn.getresponse().read()
        if struct.unpack('>H', data[2:4])[0] >= 0x100:
            raise AssertionError('CUPS-Get-PPDs: IPP status 0x%04x' % struct.unpack('>H', data[2:4]))
        at, groups = 8, []
        while data[at] != 0x03:
            tag, at = data[at], at + 1
            if tag < 0x10:  # a new group: one per PPD after the operation attributes
                groups.append({})
                continue
            n, = struct.unpack('>H', data[at:at + 2])
            name = data[at + 2:at + 2 + n].decode() or name  # no name: one more value of the last
            v, = struct.unpack('>H', data[at + 2 + n:at + 4 + n])
            raw, at = data[at + 4 + n:at + 4 + n + v], at + 4 + n + v
            groups[-1].setdefault(name, []).append(struct.unpack('>i', raw)[0] if tag in (0x21, 0x23) else raw.decode())
        return {g['ppd-name'][0]: g for g in groups if 'ppd-name' in g}
