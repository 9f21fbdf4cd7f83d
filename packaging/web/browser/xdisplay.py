# SPDX-License-Identifier: MIT
"""A virtual X server of a test's own, and its clipboard: for the Linux program, and for the
browsers that need a display (Firefox, WebKitGTK)."""
import os
import subprocess
import time


class Display:
    """Xvfb on the first free display number; env holds DISPLAY for the programs shown on it."""

    def __init__(self, size='1280x1024'):
        number = 90
        while os.path.exists(f'/tmp/.X{number}-lock'):
            number += 1
        self.env = {**os.environ, 'DISPLAY': f':{number}'}
        self.proc = subprocess.Popen(['Xvfb', f':{number}', '-screen', '0', f'{size}x24', '-nolisten', 'tcp'],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if subprocess.run(['xdpyinfo'], env=self.env, capture_output=True).returncode == 0:
                break
            time.sleep(0.1)

    def clipboard(self):
        return subprocess.run(['xclip', '-selection', 'clipboard', '-o'], env=self.env,
                              capture_output=True, text=True).stdout

    def set_clipboard(self, text):
        # xclip stays to serve what it holds; it is gone with the display.
        subprocess.run(['xclip', '-selection', 'clipboard', '-i'], env=self.env, input=text, text=True,
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        self.proc.terminate()
        self.proc.wait()
