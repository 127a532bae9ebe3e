# The HTTP server of the internet tests and the link-check benchmark: Python's
# threaded http.server on 127.0.0.1 serving a folder, with made-up addresses
# beside it. Arguments: folder, request log, keep-alive (1 or 0), listen
# backlog, pause in milliseconds before each accepted connection. Prints the
# port on its first line once it listens.
import functools, io, sys, threading, time
from http.server import ThreadingHTTPServer, SimpleHTTPRequestHandler

folder, log = sys.argv[1], sys.argv[2]
keepalive, backlog, delay = sys.argv[3] == '1', int(sys.argv[4]), int(sys.argv[5]) / 1000.0
lock = threading.Lock()

class Handler(SimpleHTTPRequestHandler):
    protocol_version = 'HTTP/1.1' if keepalive else 'HTTP/1.0'
    extensions_map = dict(SimpleHTTPRequestHandler.extensions_map)
    extensions_map.update({'.htm': 'text/html', '.html': 'text/html',
                           '.chs': 'text/html; charset=ISO-8859-1', '.txt': 'text/plain'})
    def send_head(self):
        path = self.path.split('?')[0]
        if path.startswith('/moved/'):
            self.send_response(301)
            self.send_header('Location', path[len('/moved'):])
            self.send_header('Content-Length', '0')
            self.end_headers()
            return None
        if path.startswith('/loop/'):
            self.send_response(302)
            self.send_header('Location', '/loop/b' if path.endswith('a') else '/loop/a')
            self.send_header('Content-Length', '0')
            self.end_headers()
            return None
        if path.startswith('/endless/') and path.endswith('.htm'):
            name = path[len('/endless/'):-4]
            body = ''.join('<a href="%s-%d.htm">x</a>' % (name, k) for k in range(5)).encode()
            self.send_response(200)
            self.send_header('Content-Type', 'text/html')
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            return io.BytesIO(body)
        return SimpleHTTPRequestHandler.send_head(self)
    # LinkChecker, which the benchmark runs beside the link checker, takes more
    # than ten requests a second only from a server that sends this header.
    def end_headers(self):
        self.send_header('LinkChecker', 'allowed')
        SimpleHTTPRequestHandler.end_headers(self)
    def log_request(self, code='-', size='-'):
        with lock, open(log, 'a') as f:
            f.write('%s %s|%d\n' % (self.command, self.path, self.client_address[1]))
    def log_message(self, *args):
        pass

class Server(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = backlog
    def get_request(self):
        time.sleep(delay)
        return ThreadingHTTPServer.get_request(self)

server = Server(('127.0.0.1', 0), functools.partial(Handler, directory=folder))
print(server.server_address[1], flush=True)
server.serve_forever()
