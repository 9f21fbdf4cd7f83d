# SPDX-License-Identifier: MIT
"""A virtual X server of a test's own, and its clipboard: for the Linux program, and for the
browsers that need a display (Firefox, WebKitGTK)."""
import os
import subprocess
import time


class Display:
    """Xvfb on a display number it chooses itself, free whatever else runs beside it; env holds
    DISPLAY for the programs shown on it."""

    def __init__(self, size='1280x1024'):
        ready, told = os.pipe()
        self.proc = subprocess.Popen(['Xvfb', '-displayfd', str(told), '-screen', '0', f'{size}x24',
                                      '-nolisten', 'tcp'], pass_fds=(told,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(told)
        # The server writes its number once it takes clients.
        with os.fdopen(ready) as number:
            self.env = {**os.environ, 'DISPLAY': f':{number.readline().strip()}'}

    def clipboard(self):
        return subprocess.run(['xclip', '-selection', 'clipboard', '-o'], env=self.env,
                              capture_output=True, text=True).stdout

    def set_clipboard(self, text):
        # xclip stays to serve what it holds; it is gone with the display.
        subprocess.run(['xclip', '-selection', 'clipboard', '-i'], env=self.env, input=text, text=True,
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Its first process is gone before the server may know the one that stays owns the
        # clipboard: a paste at once could bring what was there before.
        for _ in range(100):
            held = subprocess.run(['xclip', '-selection', 'clipboard', '-o'], env=self.env,
                                  capture_output=True).stdout
            if held == text.encode():
                return
            time.sleep(0.05)
        raise RuntimeError(f'the clipboard did not take {text!r}')

    def close(self):
        self.proc.terminate()
        self.proc.wait()
