#!/usr/bin/python3
"""The page's speed in headless Chromium with software WebGL, opened from disk.

usage: web_bench.py PAGE.html
For a run of 10000 points from the address: the time from opening the page to
its first picture, the frames painted per second while it is shown (with the
browser's own frame pacing, and without it, which is what the page itself can
paint), and the time one frame spends in the page's drawing, on the finished
hull and on a step picture; the same on a phone held upright (390 x 844, three
device pixels to one, whose goal is 20 frames a second); and the first
picture of a run of 1000 points (whose goal is 1 s from opening).
"""
import os
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

PAGE = os.path.abspath(sys.argv[1])
FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
         "--window-size=1300,1500"]
PACED_OFF = ["--disable-gpu-vsync", "--disable-frame-rate-limit"]

# Frames and drawing time over three seconds of the run shown.
MEASURE = """
const done = arguments[arguments.length - 1];
const f0 = Module._omotac_frames(), d0 = Module._omotac_draw_millis(), t0 = performance.now();
setTimeout(() => {
  const frames = Module._omotac_frames() - f0, seconds = (performance.now() - t0) / 1000;
  done([frames / seconds, (Module._omotac_draw_millis() - d0) / Math.max(frames, 1)]);
}, 3000);
"""
# Milliseconds from the page's start to the end of the first frame's callback.
FIRST_PICTURE = """
const done = arguments[arguments.length - 1];
(function poll() { if (Module._omotac_frames && Module._omotac_frames() >= 1) done(performance.now());
                   else requestAnimationFrame(poll); })();
"""


PHONE = {"deviceMetrics": {"width": 390, "height": 844, "pixelRatio": 3.0, "touch": True},
         "userAgent": "Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 (KHTML, like Gecko) Mobile Safari/537.36"}


def session(extra, phone=False):
    options = webdriver.ChromeOptions()
    for a in FLAGS + extra + ["--user-data-dir=" + tempfile.mkdtemp(prefix="omotac-bench-")]:
        options.add_argument(a)
    if phone:
        options.add_experimental_option("mobileEmulation", PHONE)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_script_timeout(30)
    return driver


def main():
    url = "file://" + PAGE + "?n=10000&seed=7"
    rows = []
    for name, extra, phone in (("browser's frame pacing", [], False), ("pacing off", PACED_OFF, False),
                               ("phone 390 x 844 at 3, frame pacing", [], True)):
        driver = session(extra, phone)
        try:
            driver.get(url)
            first = driver.execute_async_script(FIRST_PICTURE)
            fps, draw = driver.execute_async_script(MEASURE)
            # The toolbar's keys, as a finger presses them.
            for key in ("Home", "ArrowRight", "ArrowRight"):
                driver.execute_script("ccall('omotac_key', null, ['string'], [arguments[0]])", key)
            step_fps, step_draw = driver.execute_async_script(MEASURE)
            rows.append((name, first, fps, draw, step_fps, step_draw))
        finally:
            driver.quit()
    firsts = []
    for name, phone in (("1000 points", False), ("1000 points, phone", True)):
        driver = session([], phone)
        try:
            driver.get("file://" + PAGE + "?n=1000&seed=7")
            firsts.append((name, driver.execute_async_script(FIRST_PICTURE)))
        finally:
            driver.quit()
    print("| headless Chromium, 10000 points | first picture | frames/s, finished hull | drawing per frame "
          "| frames/s, step 2 | drawing per frame |")
    print("|---|---:|---:|---:|---:|---:|")
    for name, first, fps, draw, step_fps, step_draw in rows:
        print("| %s | %.2f s | %.1f | %.2f ms | %.1f | %.2f ms |" % (name, first / 1000, fps, draw, step_fps, step_draw))
    print()
    print("| headless Chromium | first picture |")
    print("|---|---:|")
    for name, first in firsts:
        print("| %s | %.2f s |" % (name, first / 1000))


if __name__ == "__main__":
    main()
