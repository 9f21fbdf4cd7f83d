# SPDX-License-Identifier: MIT
"""A folder served on a free localhost port, as a static web server would serve the site."""
import os
import subprocess
import tempfile

from devtools import Failure

HERE = os.path.dirname(os.path.abspath(__file__))


class Server:
    """The site on a free localhost port, through packaging/web/server; its log counts bytes."""

    def __init__(self, site):
        self.site = site
        self.log = tempfile.NamedTemporaryFile(prefix='ztc-server-', suffix='.log', delete=False).name
        self.proc = subprocess.Popen([os.path.join(HERE, '..', 'server'), site, '0', self.log],
                                     stdout=subprocess.PIPE, text=True)
        self.url = self.proc.stdout.readline().strip()
        if not self.url:
            raise Failure('the web server did not start')

    def bytes_sent(self):
        with open(self.log) as f:
            return sum(int(line.split()[-1]) for line in f if line.strip())

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait()
        if os.path.exists(self.log):
            os.unlink(self.log)
