#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Start-up and bytes of the site in Debian's headless Chromium (or the engine ZTC_ENGINE names),
on the desktop and on a phone, beside the same page holding a bare Qt Widgets window and, where
given, an earlier build of the site; the main thread's blocking and the slow line in Chromium
alone, which can slow its processor and network.
Usage: bench.py SITE BARE [BEFORE]   (ZTC_BENCH_RUNS visits each, default 5)"""
import os
import statistics
import sys
import time

from browsers import engine_name, launch
from devtools import Browser
from localsite import Server
from pagedriver import Failure

# A phone as the phone checks make one: a Pixel, upright, with touch.
PHONE = {'width': 412, 'height': 915, 'deviceScaleFactor': 2.625, 'mobile': True,
         'screenWidth': 412, 'screenHeight': 915}
# The main thread's tasks over 50 ms, until a moment after the window is drawn.
LONG_TASKS = """new Promise((resolve) => {
    const tasks = [];
    new PerformanceObserver((list) => tasks.push(...list.getEntries().map((e) => e.duration)))
        .observe({ type: 'longtask', buffered: true });
    setTimeout(() => resolve(tasks), 1000);
})"""
# A phone on a slow mobile line, as web audits assume: slow 4G, a processor four times slower.
SLOW_LINE = {'offline': False, 'latency': 150, 'downloadThroughput': 1.6e6 / 8,
             'uploadThroughput': 0.75e6 / 8}


def browser(phone, without=None):
    """A fresh browser, made a phone where asked."""
    page = launch(without=without)
    if phone:
        page.page('Emulation.setTouchEmulationEnabled', enabled=True, maxTouchPoints=5)
        page.page('Emulation.setDeviceMetricsOverride', **PHONE)
    return page


def visits(site, phone, runs, without=None):
    """Cold visits, each in a fresh profile, and visits from the service worker's cache: the
    milliseconds to the first drawn window, and the bytes the server sent for a first visit
    (the service worker's own fetches included)."""
    cold, cached, sent = [], [], []
    server = Server(site)
    try:
        for _ in range(runs):
            page = browser(phone, without)
            try:
                cold.append(page.open(server.url))
                page.evaluate('navigator.serviceWorker.ready.then(() => true)', wait=True)
                time.sleep(1)
                sent.append(server.bytes_sent())
                for _ in range(2):
                    cached.append(page.open(server.url))
            finally:
                page.close()
            open(server.log, 'w').close()
    finally:
        server.stop()
    return statistics.median(cold), statistics.median(cached), statistics.median(sent)


def blocking(site, phone, runs, without=None):
    """With the processor four times slower, as a web audit's phone: the number of long tasks,
    the sum of each one's part above 50 ms, and the longest, in milliseconds; medians of the runs."""
    server = Server(site)
    counts, totals, longest = [], [], []
    try:
        for _ in range(runs):
            page = browser(phone, without)
            try:
                page.page('Emulation.setCPUThrottlingRate', rate=4)
                page.open(server.url, timeout=120)
                tasks = page.evaluate(LONG_TASKS, wait=True)
                counts.append(len(tasks))
                totals.append(sum(max(0, task - 50) for task in tasks))
                longest.append(max(tasks, default=0))
            finally:
                page.close()
    finally:
        server.stop()
    return statistics.median(counts), statistics.median(totals), statistics.median(longest)


def slow_visit(site):
    """A first visit on a slow line and a slow processor: milliseconds to the drawn window."""
    server = Server(site)
    page = Browser()
    try:
        page.page('Network.enable')
        page.page('Network.emulateNetworkConditions', **SLOW_LINE)
        page.page('Emulation.setCPUThrottlingRate', rate=4)
        return page.open(server.url, timeout=240)
    finally:
        page.close()
        server.stop()


def bench(site, bare, before=None):
    runs = int(os.environ.get('ZTC_BENCH_RUNS', '5'))
    chromium = engine_name() == 'chromium'
    print(f'{engine_name()}: medians of {runs} fresh profiles; a local server, compressed files (brotli); '
          'blocking: the processor 4x slower, the sum of each long task\'s part over 50 ms; the slow '
          'line: 1.6 Mbit/s, 150 ms round trips, processor 4x slower, one visit')
    # Each site as visited, and the calculator once more in a browser with WebGL off.
    sites = ([('calculator', site, None)] + ([('before', before, None)] if before else [])
             + [('bare Qt window', bare, None), ('calculator, no WebGL', site, 'WebGL')])
    print(f'{"":34} {"first visit":>12} {"first window":>13} {"from cache":>11} {"long tasks":>11} '
          f'{"blocking":>9} {"longest":>8} {"slow line":>10}')
    for phone in (False, True) if chromium else (False,):
        for name, folder, without in sites:
            cold, cached, sent = visits(folder, phone, runs, without)
            count, total, longest = (blocking(folder, phone, runs, without) if chromium
                                     else (float('nan'),) * 3)
            slow = slow_visit(folder) if chromium and not phone and not without else float('nan')
            label = f'{name}, {"phone" if phone else "desktop"}'
            print(f'{label:34} {sent / 1e6:9.2f} MB {cold:10.0f} ms {cached:8.0f} ms {count:11.0f} '
                  f'{total:6.0f} ms {longest:5.0f} ms {slow / 1000:7.1f} s', flush=True)


if __name__ == '__main__':
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    try:
        bench(*sys.argv[1:])
    except Failure as failure:
        sys.exit(f'bench: {failure}')
