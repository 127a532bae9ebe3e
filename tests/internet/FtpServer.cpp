// The pyftpdlib peer.
#include "tests/internet/FtpServer.h"

namespace vx::test {

namespace {

constexpr const char* kScript = R"PY(
import os, sys, logging, time
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer
from pyftpdlib.filesystems import AbstractedFS

logging.disable(logging.CRITICAL)

class DropDTP(ThrottledDTPHandler):
    ac_out_buffer_size = 1024
    def send(self, data):
        name = os.path.basename(str(getattr(self.file_obj, 'name', ''))) if self.file_obj else ''
        if name == 'drop.bin' and self.tot_bytes_sent > 4096:
            self.cmd_channel.close()
            self.close()
            return 0
        if name == 'slow.bin':
            self.write_limit = 3
            return ThrottledDTPHandler.send(self, data[:3])
        if not self.file_obj and self.cmd_channel.fs.cwd.endswith('/trickle'):
            time.sleep(0.05)
            return ThrottledDTPHandler.send(self, data[:1])
        if not self.file_obj and self.cmd_channel.fs.cwd.endswith('/dribble'):
            time.sleep(0.1)
            return ThrottledDTPHandler.send(self, data[:20])
        return ThrottledDTPHandler.send(self, data[:1024])
    def recv(self, size):
        name = os.path.basename(str(getattr(self.file_obj, 'name', ''))) if self.file_obj else ''
        if name == 'slow.htm':
            self.read_limit = 3
            return ThrottledDTPHandler.recv(self, 3)
        return ThrottledDTPHandler.recv(self, size)

class TotalFS(AbstractedFS):
    def format_list(self, basedir, listing, ignore_err=True):
        yield b'total 8\r\n'
        yield from AbstractedFS.format_list(self, basedir, listing, ignore_err)
        while basedir.endswith('/trickle'):
            yield b'-rw-r--r--   1 ftp      ftp             1 Jan 01 12:00 more.htm\r\n'

class Handler(FTPHandler):
    dtp_handler = DropDTP
    abstracted_fs = TotalFS
    use_sendfile = False
    banner = 'test server ready'

authorizer = DummyAuthorizer()
authorizer.add_user('user', 'secret', sys.argv[1], perm='elradfmwMT')
Handler.authorizer = authorizer
server = FTPServer(('127.0.0.1', 0), Handler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
)PY";

} // namespace

FtpServer::FtpServer(const std::string& folder) : peer_(kScript, {QString::fromStdString(folder)}) {}

} // namespace vx::test
