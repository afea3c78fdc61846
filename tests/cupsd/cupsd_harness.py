"""A private, real cupsd for tests: its own tree, a Unix socket, the driver program under test.

    with Cupsd(driver, ppds={'mono13.ppd': path}, static={...}, config='Country DE\n') as c:
        c.client(['lpinfo', '-l', '-m'], lang='C')

The tree lives in a fresh directory under /tmp (a Unix socket path must stay under 108 bytes,
and the unprivileged user cupsd runs its helpers as must be able to walk to it):

    root/    ServerRoot: cupsd.conf, cups-files.conf, ppd-localize.conf, ppd/ (the queues' PPDs)
    bin/     ServerBin: links to the system's backend, filter, daemon... directories, and driver/
             holding only a copy of the program under test (copied so that cupsd's checks of the
             program and its directory do not depend on the build tree's owner and modes)
    data/    DataDir: links to /usr/share/cups's contents but model/ (the static PPDs given) and
             drv/ (left out: cups-driverd would compile the system's .drv files on every scan)
    ppds/    the driver's PPD directory; cache/, state/, spool/, log/ for cupsd

cups-driverd also scans /usr/share/ppd, /usr/local/share/ppd and /opt/share/ppd whatever it is
told; callers compare only the names they placed. cupsd runs as root with `User lp`, else as
the calling user; it writes nothing outside the tree (its printcap included) and has no system
bus to register queues on. It is stopped by its process id when the block ends, and gets SIGTERM
from the kernel should its parent die first.
"""
import ctypes
import grp
import http.client
import os
import pathlib
import shlex
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import time

SYSTEM_BIN = '/usr/lib/cups'
SYSTEM_DATA = '/usr/share/cups'
CUPSD = '/usr/sbin/cupsd'
DRIVER_NAME = 'ppd-localize'
START_LIMIT = 20  # seconds for cupsd to accept connections
SANITIZER_ENV = ('ASAN_OPTIONS', 'LSAN_OPTIONS', 'UBSAN_OPTIONS')

# Anyone on the socket may do anything: the daemon is private to the test.
CUPSD_CONF = """LogLevel debug
MaxLogSize 0
Listen {socket}
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
DefaultPaperSize None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
"""

CUPS_FILES_CONF = """ServerRoot {root}
ServerBin {bin}
DataDir {data}
DocumentRoot {data}/doc-root
CacheDir {cache}
StateDir {state}
RequestRoot {spool}
TempDir {spool}/tmp
ErrorLog {log}/error_log
AccessLog {log}/access_log
PageLog {log}/page_log
Printcap {state}/printcap
FileDevice No
{users}"""


def _mkdir(path):
    path.mkdir(mode=0o755)
    path.chmod(0o755)  # whatever the umask: cupsd's helpers run as another user
    return path


def _copy(src, dst, mode=0o644):
    shutil.copyfile(src, dst)
    dst.chmod(mode)


class Cupsd:
    def __init__(self, driver, ppds=None, static=None, config=None):
        """driver: the program to install as driver/ppd-localize; ppds and static: {relative
        name: source file} for the driver's PPD directory and for the model directory; config:
        the text of ppd-localize.conf after its PPDDirectory line, or None for no file at all."""
        self.driver, self.ppds, self.static, self.config = driver, ppds or {}, static or {}, config
        self.proc = None
        self.dir = None

    def __enter__(self):
        try:
            self._make_tree()
            self._start()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        if self.dir and not os.environ.get('CUPSD_TEST_KEEP'):
            shutil.rmtree(self.dir, ignore_errors=True)

    def _make_tree(self):
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix='ppdl-cupsd-', dir='/tmp'))
        self.dir.chmod(0o755)
        d = {k: _mkdir(self.dir / k) for k in ('root', 'bin', 'data', 'ppds', 'cache', 'state', 'spool', 'log')}
        self.root, self.ppd_dir, self.log = d['root'], d['ppds'], d['log']
        self.socket = str(self.dir / 'cupsd.sock')
        for entry in sorted(os.listdir(SYSTEM_BIN)):
            if entry != 'driver':
                (d['bin'] / entry).symlink_to(os.path.join(SYSTEM_BIN, entry))
        driver_dir = _mkdir(d['bin'] / 'driver')
        self.driver_path = driver_dir / DRIVER_NAME
        _copy(self.driver, self.driver_path, 0o755)
        for entry in sorted(os.listdir(SYSTEM_DATA)):
            if entry not in ('model', 'drv'):
                (d['data'] / entry).symlink_to(os.path.join(SYSTEM_DATA, entry))
        for base, files in ((_mkdir(d['data'] / 'model'), self.static), (d['ppds'], self.ppds)):
            for name, src in files.items():
                path = base / name
                for parent in reversed(path.relative_to(base).parents[:-1]):
                    if not (base / parent).exists():
                        _mkdir(base / parent)
                _copy(src, path)
        _mkdir(d['spool'] / 'tmp')
        if self.config is not None:
            self.write_config(self.config)
        if os.geteuid() == 0:
            users = 'User lp\nGroup lp\nSystemGroup root\n'
        else:  # cupsd cannot change user; it runs everything as the caller
            users = 'SystemGroup %s\n' % grp.getgrgid(os.getegid()).gr_name
        files = {k: str(v) for k, v in d.items()}
        self.conf = d['root'] / 'cupsd.conf'
        self.files_conf = d['root'] / 'cups-files.conf'
        self.conf.write_text(CUPSD_CONF.format(socket=self.socket))
        users += ''.join('PassEnv %s\n' % k for k in SANITIZER_ENV if k in os.environ)
        self.files_conf.write_text(CUPS_FILES_CONF.format(users=users, **files))

    def write_config(self, text):
        """Writes ppd-localize.conf: the PPD directory, then text."""
        path = self.root / 'ppd-localize.conf'
        path.write_text('PPDDirectory %s\n%s' % (self.ppd_dir, text))
        path.chmod(0o644)

    def _start(self):
        out = open(self.log / 'cupsd.out', 'wb')
        with out:
            self.proc = subprocess.Popen([CUPSD, '-f', '-c', str(self.conf), '-s', str(self.files_conf)],
                                         stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                         env=self.daemon_env(), preexec_fn=_die_with_parent)
        deadline = time.monotonic() + START_LIMIT
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError('cupsd exited with %d: %s' % (self.proc.returncode, self.log_tail()))
            with socket.socket(socket.AF_UNIX) as s:
                try:
                    s.connect(self.socket)
                    return
                except OSError:
                    time.sleep(0.05)
        raise RuntimeError('cupsd did not listen on %s within %d s: %s' % (self.socket, START_LIMIT, self.log_tail()))

    def stop(self):
        """Ends cupsd (TERM, then KILL) by its process id and waits for it."""
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None

    def log_tail(self, lines=20):
        text = ''
        for name in ('cupsd.out', 'error_log'):
            path = self.log / name
            if path.exists():
                text += ''.join(path.read_text(errors='replace').splitlines(True)[-lines:])
        return text

    def daemon_env(self):
        # Sanitizer settings reach the driver only if cupsd has them and passes them on (PassEnv).
        # No system bus: cupsd would register its queues with colord.
        return {'PATH': '/usr/sbin:/usr/bin:/sbin:/bin', 'LC_ALL': 'C',
                'DBUS_SYSTEM_BUS_ADDRESS': 'unix:path=%s/no-bus' % self.dir,
                **{k: v for k, v in os.environ.items() if k in SANITIZER_ENV}}

    def env(self, lang=None, **extra):
        """A clean environment for a client of this cupsd (or cupsd itself), in locale lang."""
        env = {'PATH': '/usr/sbin:/usr/bin:/sbin:/bin', 'CUPS_SERVER': self.socket,
               'CUPS_SERVERROOT': str(self.root)}
        if lang:
            env['LC_ALL'] = lang
        env.update({k: v for k, v in os.environ.items() if k in SANITIZER_ENV})
        env.update(extra)
        return env

    def client(self, argv, lang='C', check=True, timeout=60):
        """Runs a CUPS client program against this cupsd; returns the completed process."""
        result = subprocess.run(argv, env=self.env(lang), capture_output=True, timeout=timeout)
        if check and result.returncode != 0:
            raise AssertionError('%s exited %d: %s\ncupsd log:\n%s' % (
                shlex.join(argv), result.returncode, result.stderr.decode(errors='replace'), self.log_tail()))
        return result

    def driver_run(self, args, **env):
        """Runs the installed driver copy directly, as cups-driverd does, with this tree's config."""
        return subprocess.run([str(self.driver_path)] + args, env=self.env(None, **env),
                              capture_output=True, timeout=60)

    def get_ppds(self):
        """A CUPS-Get-PPDs request for every attribute: {ppd-name: {attribute: [values]}}."""
        def attr(tag, name, value):
            return struct.pack('>BH', tag, len(name)) + name.encode() + struct.pack('>H', len(value)) + value.encode()
        body = (struct.pack('>BBHI', 2, 0, 0x400C, 1) + b'\x01' + attr(0x47, 'attributes-charset', 'utf-8') +
                attr(0x48, 'attributes-natural-language', 'en') + attr(0x44, 'requested-attributes', 'all') + b'\x03')
        conn = _UnixHTTPConnection(self.socket)
        try:
            conn.request('POST', '/', body, {'Content-Type': 'application/ipp'})
            data = conn.getresponse().read()
        finally:
            conn.close()
        status, at, groups, name = struct.unpack('>H', data[2:4])[0], 8, [], None
        if status >= 0x100:
            raise AssertionError('CUPS-Get-PPDs: IPP status 0x%04x' % status)
        while data[at] != 0x03:
            tag, at = data[at], at + 1
            if tag < 0x10:  # a new group: one per PPD after the operation attributes
                groups.append({})
                continue
            n, = struct.unpack('>H', data[at:at + 2])
            name = data[at + 2:at + 2 + n].decode() or name  # no name: one more value of the last
            v, = struct.unpack('>H', data[at + 2 + n:at + 4 + n])
            raw, at = data[at + 4 + n:at + 4 + n + v], at + 4 + n + v
            value = struct.unpack('>i', raw)[0] if tag in (0x21, 0x23) else raw.decode()
            groups[-1].setdefault(name, []).append(value)
        return {g['ppd-name'][0]: g for g in groups if 'ppd-name' in g}

    def queue_ppd(self, queue):
        return (self.root / 'ppd' / (queue + '.ppd')).read_bytes()


def _die_with_parent():
    # Should the test be killed before it can stop cupsd, the kernel ends cupsd too.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class _UnixHTTPConnection(http.client.HTTPConnection):
    def __init__(self, path):
        super().__init__('localhost', timeout=60)
        self.path = path

    def connect(self):
        self.sock = socket.socket(socket.AF_UNIX)
        self.sock.settimeout(self.timeout)
        self.sock.connect(self.path)
