#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Start-up and bytes of the site in Debian's headless Chromium (or the engine ZTC_ENGINE names),
against the same page holding a bare Qt Widgets window; the slow line in Chromium alone, which
can slow its network and processor. Usage: bench.py SITE BARE   (ZTC_BENCH_RUNS visits each,
default 5)"""
import os
import statistics
import sys
import time

from browsers import engine_name, launch
from devtools import Browser
from localsite import Server
from pagedriver import Failure


def visits(site, runs):
    """Cold visits, each in a fresh profile, and visits from the service worker's cache: the
    milliseconds to the first drawn window, and the bytes the server sent for a first visit
    (the service worker's own fetches included)."""
    cold, cached, sent = [], [], []
    server = Server(site)
    try:
        for _ in range(runs):
            browser = launch()
            try:
                cold.append(browser.open(server.url))
                browser.evaluate('navigator.serviceWorker.ready.then(() => true)', wait=True)
                time.sleep(1)
                sent.append(server.bytes_sent())
                for _ in range(2):
                    cached.append(browser.open(server.url))
            finally:
                browser.close()
            open(server.log, 'w').close()
    finally:
        server.stop()
    return statistics.median(cold), statistics.median(cached), statistics.median(sent)


# A phone on a slow mobile line, as web audits assume: slow 4G, a processor four times slower.
SLOW_LINE = {'offline': False, 'latency': 150, 'downloadThroughput': 1.6e6 / 8,
             'uploadThroughput': 0.75e6 / 8}


def slow_visit(site):
    """A first visit on a slow line and a slow processor: milliseconds to the drawn window."""
    server = Server(site)
    browser = Browser()
    try:
        browser.page('Network.enable')
        browser.page('Network.emulateNetworkConditions', **SLOW_LINE)
        browser.page('Emulation.setCPUThrottlingRate', rate=4)
        return browser.open(server.url, timeout=240)
    finally:
        browser.close()
        server.stop()


def bench(site, bare):
    runs = int(os.environ.get('ZTC_BENCH_RUNS', '5'))
    print(f'{engine_name()}: median of {runs} fresh profiles; a local server, compressed files (brotli); the slow line:'
          ' 1.6 Mbit/s, 150 ms round trips, processor 4x slower, one visit')
    print(f'{"":22} {"first visit":>12} {"first window":>13} {"from cache":>11} {"slow line":>10}')
    results = {}
    for name, folder in (('calculator', site), ('bare Qt window', bare)):
        cold, cached, sent = visits(folder, runs)
        slow = slow_visit(folder) if engine_name() == 'chromium' else float('nan')
        results[name] = (cold, cached, slow)
        print(f'{name:22} {sent / 1e6:9.2f} MB {cold:10.0f} ms {cached:8.0f} ms {slow / 1000:7.1f} s')
    ratios = [ours / theirs for ours, theirs in zip(*results.values())]
    print(f'{"calculator / bare":22} {"":12} {ratios[0]:12.2f}x {ratios[1]:10.2f}x {ratios[2]:9.2f}x')


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    try:
        bench(*sys.argv[1:])
    except Failure as failure:
        sys.exit(f'bench: {failure}')
