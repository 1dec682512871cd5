#!/usr/bin/python3
"""The page in a real browser: Debian's headless Chromium with software WebGL,
opened from disk, driven with real keys and clicks, held to the desktop
program's dialogue and first picture for the same seed.

usage: page_test.py PAGE.html DESKTOP_PROGRAM
Prints one line per check and closes with "N passed, N failed"; the status is
non-zero when a check failed. Every run is from a fixed seed or typed input.
"""
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

from selenium import webdriver
from selenium.common.exceptions import (ElementClickInterceptedException, ElementNotInteractableException,
                                        StaleElementReferenceException)
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

PAGE, PROGRAM = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
WIDTH, HEIGHT = 1024, 700
SEED, COUNT = 2024, 100
REFUSED = "Broj tacaka mora biti ceo broj od 1 do 10000."

results = []


def check(name, ok, detail=""):
    results.append(ok)
    print(("ok   " if ok else "FAIL ") + name + ("" if ok else ": " + detail), flush=True)


def desktop(stdin, *args):
    """The desktop program without a display: its dialogue and its messages."""
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    r = subprocess.run([PROGRAM, *args], input=stdin, capture_output=True, text=True, env=env)
    return r.stdout, r.stderr


def without_time(text):
    return re.sub(r"(Vreme za koje se izvrsava program je: )[0-9.]+( ms)", r"\1T\2", text)


def pixels(png):
    """The RGB bytes of a PNG, decoded by ImageMagick."""
    return subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout


def black_marks(raw, width):
    """Top-left corners of the groups of touching black pixels: the hull
    vertices' markers, the only black of a first picture."""
    black = {(i % width, i // width) for i in range(len(raw) // 3) if raw[3 * i:3 * i + 3] == b"\0\0\0"}
    marks = []
    while black:
        stack, group = [black.pop()], []
        while stack:
            x, y = stack.pop()
            group.append((x, y))
            for q in ((x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                if q in black:
                    black.remove(q)
                    stack.append(q)
        marks.append((min(x for x, _ in group), min(y for _, y in group), len(group)))
    return sorted(marks)


def desktop_picture(directory):
    """The desktop window's first picture for the seed, on a private display."""
    number = os.path.join(directory, "display")
    # Xvfb picks a free display itself and writes its number to descriptor 3.
    xvfb = subprocess.Popen(["sh", "-c", 'exec Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$0"',
                             number], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program = None
    try:
        display = lambda: open(number).read().strip() if os.path.exists(number) else ""
        for _ in range(100):
            if display():
                break
            time.sleep(0.1)
        env = dict(os.environ, DISPLAY=":" + display())
        program = subprocess.Popen([PROGRAM, "--seed", str(SEED)], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                   env=env)
        program.stdin.write(b"%d\n" % COUNT)
        program.stdin.close()
        window = subprocess.run(["timeout", "30", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                 "Divavorade - prikaz zadatka"], capture_output=True, text=True,
                                env=env).stdout.split()[0]
        png = os.path.join(directory, "desktop.png")
        for _ in range(100):
            subprocess.run(["import", "-window", window, png], env=env, check=True)
            if black_marks(pixels(png), WIDTH):
                return pixels(png)
            time.sleep(0.1)
        return b""
    finally:
        if program:
            program.kill()
            program.wait()
        xvfb.kill()
        xvfb.wait()


BROWSER_FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run"]


def browser(downloads):
    """A window whose page gives the picture exactly the desktop's 1024 x 700."""
    options = webdriver.ChromeOptions()
    for a in BROWSER_FLAGS + ["--user-data-dir=" + os.path.join(downloads, "profile"), "--window-size=1040,1500"]:
        options.add_argument(a)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    return driver


def wait(driver, condition, seconds=20):
    try:
        return WebDriverWait(driver, seconds, poll_frequency=0.05).until(lambda d: condition())
    except Exception:
        return None


def click_when_ready(driver, element):
    """Clicks what element() finds once it can take a click: the page may be
    unfolding its form or fitting its picture again for a moment."""
    def clicked():
        try:
            element().click()
            return True
        except (ElementNotInteractableException, ElementClickInterceptedException, StaleElementReferenceException):
            return False
    if not wait(driver, clicked, 10):
        e = element()
        raise RuntimeError("%s takes no click: shown %s, at %s, form open %s" % (
            e.get_attribute("id") or e.get_attribute("title"), e.is_displayed(), e.rect,
            driver.execute_script("return document.getElementById('run').open")))


def phone_browser(scratch, width, height):
    """Chromium as a phone of width x height CSS pixels, three device pixels to one, with touch."""
    options = webdriver.ChromeOptions()
    for a in BROWSER_FLAGS + ["--user-data-dir=" + tempfile.mkdtemp(dir=scratch)]:
        options.add_argument(a)
    options.add_experimental_option("mobileEmulation", {
        "deviceMetrics": {"width": width, "height": height, "pixelRatio": 3.0, "touch": True},
        "userAgent": "Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 (KHTML, like Gecko) Mobile Safari/537.36"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def screens(scratch):
    """A run opened from its address at the laptop's, the tablet's and the phone's sizes: the whole picture
    inside the viewport with its shape, no scrolling sideways, a device pixel for every screen pixel."""
    sizes = [("1366 x 768", None, (1366, 768)), ("1024 x 768", None, (1024, 768)),
             ("390 x 844, upright", (390, 844), None), ("844 x 390, on its side", (844, 390), None)]
    for name, phone, window in sizes:
        if phone:
            driver = phone_browser(scratch, *phone)
        else:
            options = webdriver.ChromeOptions()
            for a in BROWSER_FLAGS + ["--user-data-dir=" + tempfile.mkdtemp(dir=scratch), "--window-size=%d,%d" % window]:
                options.add_argument(a)
            driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        try:
            driver.get("file://" + PAGE + "?n=%d&seed=%d&korak=3" % (COUNT, SEED))
            WebDriverWait(driver, 20, poll_frequency=0.05).until(
                lambda d: d.execute_script("return document.querySelectorAll('#text .block').length > 0"))
            box = driver.execute_script("""const r = document.getElementById('picture').getBoundingClientRect();
                const c = Module.canvas, ratio = devicePixelRatio;
                return [r.left, r.top, r.right, r.bottom, innerWidth, innerHeight,
                        document.documentElement.scrollWidth, c.width, c.height, ratio,
                        Math.min(...[...document.querySelectorAll('#text .block div')].map(
                            e => parseFloat(getComputedStyle(e).fontSize)))]""")
            left, top, right, bottom, vw, vh, scroll_width, cw, ch, ratio, font = box
            width, height = right - left, bottom - top
            check("%s: the picture lies inside the viewport, 1024 : 700, with no scrolling sideways" % name,
                  left >= 0 and top >= 0 and right <= vw and bottom <= vh and scroll_width <= vw
                  and abs(width * 700 / 1024 - height) <= 1 and width >= min(vw - 20, 300), str(box))
            check("%s: a device pixel for every screen pixel, text of 12 pixels at least" % name,
                  abs(cw - width * ratio) <= 1 and abs(ch - height * ratio) <= 1 and font >= 12, str(box))
        finally:
            driver.quit()


def touch(driver, kind, points):
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
        "type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, (x, y) in enumerate(points)]})


def gesture(driver, start, end, steps=8):
    """Fingers moved in steps from the points of start to those of end, then lifted."""
    touch(driver, "touchStart", start)
    for k in range(1, steps + 1):
        touch(driver, "touchMove", [(a[0] + (b[0] - a[0]) * k / steps, a[1] + (b[1] - a[1]) * k / steps)
                                    for a, b in zip(start, end)])
    touch(driver, "touchEnd", [])


def phone(scratch):
    """The phone held upright, with fingers: taps, drags, pinches, turns and long presses on the picture."""
    driver = phone_browser(scratch, 390, 844)
    text = lambda: driver.execute_script("return [...document.querySelectorAll('#text .block div')]"
                                         ".map(e => e.textContent)")
    until = lambda condition, seconds=5: wait(driver, condition, seconds)
    key = lambda name: driver.execute_script("ccall('omotac_key', null, ['string'], [arguments[0]])", name)
    try:
        driver.get("file://" + PAGE + "?n=%d&seed=%d" % (COUNT, SEED))
        until(lambda: driver.execute_script("return Module._omotac_frames && Module._omotac_frames() >= 2"), 20)
        console_out, _ = desktop("%d\n" % COUNT, "--seed", str(SEED))
        hull = [tuple(map(int, re.findall(r"-?\d+", h)))
                for h in console_out.split("Tacke konveksnog omotaca su:\n\n")[1].splitlines()]
        canvas = driver.find_element(By.ID, "canvas")
        at = driver.execute_script("const r = Module.canvas.getBoundingClientRect(); return [r.left, r.top, r.width]")
        png = os.path.join(scratch, "phone.png")
        # The vertices' markers, in CSS pixels of the viewport: 12 x 12 device pixels each.
        def marks():
            canvas.screenshot(png)
            return sorted((at[0] + (x + 6) / 3, at[1] + (y + 6) / 3)
                          for x, y, n in black_marks(pixels(png), int(round(at[2] * 3))) if n == 144)
        # Every marker expected has one where it is expected; markers that
        # touch each other make one group and are left out.
        near = lambda a, b, tolerance: len(a) >= 3 and all(
            any(abs(p[0] - q[0]) <= tolerance and abs(p[1] - q[1]) <= tolerance for q in b) for p in a)
        framed = marks()
        check("the phone shows the hull's vertices", len(framed) >= len(hull) - 3, "%d of %d" % (len(framed), len(hull)))
        # One finger pans: every vertex moves with it.
        mid = (at[0] + at[2] / 2, at[1] + at[2] * 700 / 1024 / 2)
        gesture(driver, [mid], [(mid[0] + 40, mid[1] + 30)])
        panned = until(lambda: (lambda m: m if m != framed else None)(marks())) or []
        check("one finger pans the picture with it", near([(x + 40, y + 30) for x, y in framed], panned, 1.5),
              "%s -> %s" % (framed, panned))
        key("r")
        until(lambda: marks() == framed)
        # Two fingers spreading to 1.4 times their distance: 1.4 times as large about their midpoint.
        gesture(driver, [(mid[0] - 50, mid[1]), (mid[0] + 50, mid[1])], [(mid[0] - 70, mid[1]), (mid[0] + 70, mid[1])])
        zoomed = until(lambda: (lambda m: m if m != framed else None)(marks())) or []
        inside = lambda m: [(x, y) for x, y in m if at[0] + 4 < x < at[0] + at[2] - 4 and at[1] + 4 < y < at[1] + at[2] * 700 / 1024 - 4]
        check("two fingers pinch the picture larger about their midpoint",
              near(inside([(mid[0] + 1.4 * (x - mid[0]), mid[1] + 1.4 * (y - mid[1])) for x, y in framed]), zoomed, 3),
              "%s -> %s" % (framed, zoomed))
        key("r")
        until(lambda: marks() == framed)
        # Two fingers turning a quarter clockwise: the picture turns with them.
        turn = [[(mid[0] - 40 * math.cos(a), mid[1] - 40 * math.sin(a)), (mid[0] + 40 * math.cos(a), mid[1] + 40 * math.sin(a))]
                for a in (math.pi / 2 * k / 9 for k in range(10))]
        touch(driver, "touchStart", turn[0])
        for fingers in turn[1:]:
            touch(driver, "touchMove", fingers)
        touch(driver, "touchEnd", [])
        turned = until(lambda: (lambda m: m if m != framed else None)(marks())) or []
        check("two fingers turning turn the picture about their midpoint",
              near(inside([(mid[0] - (y - mid[1]), mid[1] + (x - mid[0])) for x, y in framed]), turned, 3),
              "%s -> %s" % (framed, turned))
        key("r")
        until(lambda: marks() == framed)
        # Edit mode: a tap adds a point, a long press on it removes it.
        key("e")
        figures = lambda: next((t for t in text() if t.startswith("Tacke:")), "")
        spot = (at[0] + at[2] - 12, at[1] + at[2] * 700 / 1024 - 12)
        touch(driver, "touchStart", [spot])
        touch(driver, "touchEnd", [])
        check("a tap in edit mode adds a point", bool(until(lambda: figures().startswith("Tacke: %d " % (COUNT + 1)))),
              figures())
        touch(driver, "touchStart", [spot])
        removed = until(lambda: figures().startswith("Tacke: %d " % COUNT))
        touch(driver, "touchEnd", [])
        check("a long press in edit mode removes it", bool(removed), figures())
        key("e")
        # Guess mode: a tap answers the question, on the point drawn under the
        # finger. The question shows L and R alone in black, which fix where
        # every point is drawn (the caption may have moved the picture aside).
        key("Home")
        key("g")
        key("ArrowRight")
        key("ArrowRight")
        until(lambda: any(t.startswith("Koja tacka") for t in text()))
        (lx, ly), (rx, ry) = hull[0], hull[1]
        ends = until(lambda: (lambda m: m if len(m) == 2 else None)(marks())) or [(0, 0), (1, 0)]
        left, right = min(ends), max(ends)
        scale = (right[0] - left[0]) / (rx - lx)
        far = hull[2]
        touch(driver, "touchStart", [(left[0] + scale * (far[0] - lx), left[1] - scale * (far[1] - ly))])
        touch(driver, "touchEnd", [])
        check("a tap answers a guess", bool(until(lambda: "Tacno!" in text())), str(text()))
        check("the page does not scroll or zoom under a finger on the picture",
              driver.execute_script("return [scrollX, scrollY, visualViewport.scale, getComputedStyle(Module.canvas)"
                                    ".touchAction]") == [0, 0, 1, "none"])
    finally:
        driver.quit()


def main():
    scratch = tempfile.mkdtemp(prefix="omotac-page-")
    downloads = os.path.join(scratch, "downloads")
    os.mkdir(downloads)
    url = "file://" + PAGE
    driver = browser(downloads)
    by_id = lambda name: driver.find_element(By.ID, name)
    text_over_picture = lambda: driver.execute_script(
        "return [...document.querySelectorAll('#text .block div')].map(e => e.textContent)")
    # What an element holds, shown or folded away.
    content = lambda name: driver.execute_script("return document.getElementById(arguments[0]).textContent",
                                                 name).strip()
    try:
        # The form: the console's prompt and its refusals.
        driver.get(url)
        wait(driver, lambda: by_id("start").is_enabled())
        console_out, _ = desktop("abc\n", "--seed", "1")
        check("the title is the window's", driver.title == "Divavorade - prikaz zadatka", driver.title)
        check("the form asks what the console asks", by_id("prompt").text + "\n" == console_out.splitlines(True)[0],
              by_id("prompt").text)
        by_id("count").send_keys("abc")
        click_when_ready(driver, lambda: by_id("start"))
        wait(driver, lambda: content("message"))
        check("a refused count gets the console's refusal, and the message says why",
              content("panel").rstrip("\n") == console_out.rstrip("\n") and content("message") == REFUSED
              and REFUSED in content("panel"), content("panel") + " | " + content("message"))
        by_id("count").clear()
        by_id("count").send_keys("5")
        by_id("seed").send_keys("x")
        click_when_ready(driver, lambda: by_id("start"))
        _, desktop_err = desktop("5\n", "--seed", "x")
        wait(driver, lambda: "seme" in content("message"))
        check("a bad seed gets the command line's message", content("message") == desktop_err.strip(),
              content("message"))

        # A run from the address: the console's lines and the first picture.
        driver.get(url + "?n=%d&seed=%d" % (COUNT, SEED))
        wait(driver, lambda: "Tacke konveksnog omotaca su:" in content("panel"))
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        console_out, _ = desktop("%d\n" % COUNT, "--seed", str(SEED))
        check("the address starts the run at once", "Tacke poligona su:" in panel, panel[:80])
        check("the panel holds the console's lines", without_time(panel) == without_time(console_out),
              panel[-200:])
        check("the page shows the address of the run",
              bool(wait(driver, lambda: content("link").endswith("omotac.html?n=%d&seed=%d" % (COUNT, SEED)), 5)),
              content("link"))
        hull = console_out.split("Tacke konveksnog omotaca su:\n\n")[1].splitlines()
        steps = len(hull)

        canvas = by_id("canvas")
        page_png = os.path.join(scratch, "page.png")
        wait(driver, lambda: driver.execute_script("return Module._omotac_frames()") >= 2)
        canvas.screenshot(page_png)
        page_marks = black_marks(pixels(page_png), WIDTH)
        desktop_marks = black_marks(desktop_picture(scratch), WIDTH)
        near = lambda a, b: abs(a[0] - b[0]) <= 1 and abs(a[1] - b[1]) <= 1 and a[2] == b[2]
        check("the first picture has the desktop's vertex markers",
              len(page_marks) == len(desktop_marks) > 0
              and all(any(near(p, q) for q in desktop_marks) for p in page_marks),
              "page %s desktop %s" % (page_marks, desktop_marks))
        check("the right button opens no menu over the picture", driver.execute_script("""
            let prevented = null;
            window.addEventListener('contextmenu', e => { prevented = e.defaultPrevented; }, {once: true});
            arguments[0].dispatchEvent(new MouseEvent('contextmenu', {bubbles: true, cancelable: true, button: 2}));
            return prevented;""", canvas) is True)
        ActionChains(driver).context_click(canvas).perform()

        # Steps by key, their caption over the picture where the desktop draws it.
        for keys, caption in ((Keys.HOME, "Korak 0 od %d (najdalja)" % steps),
                              (Keys.ARROW_RIGHT, "Korak 1 od %d (najdalja)" % steps),
                              (Keys.ARROW_RIGHT, "Korak 2 od %d (najdalja)" % steps),
                              (Keys.END, "Korak %d od %d (najdalja)" % (steps, steps))):
            canvas.send_keys(keys)
            shown = wait(driver, lambda: caption in text_over_picture(), 5)
            check("%s shows \"%s\"" % (repr(keys), caption), bool(shown), str(text_over_picture()))
        # Space plays from step 0 a step at a time; a step key stops it. H shows the help with the seed.
        canvas.send_keys(Keys.HOME, Keys.SPACE)
        check("Space plays the steps", bool(wait(driver, lambda: "Korak 2 od %d (najdalja)" % steps in text_over_picture(), 10)),
              str(text_over_picture()))
        canvas.send_keys(Keys.END, "h")
        check("H shows the help and the run's seed", bool(wait(driver, lambda: "Seme: %d" % SEED in text_over_picture(), 5)),
              str(text_over_picture()))
        canvas.send_keys(Keys.F1)
        check("F1 hides it", bool(wait(driver, lambda: "Seme: %d" % SEED not in text_over_picture(), 5)))
        canvas.send_keys(Keys.TAB)
        check("Tab moves the keyboard on from the picture",
              driver.execute_script("return document.activeElement !== Module.canvas"))
        first = driver.find_element(By.CSS_SELECTOR, "#text .block div")
        check("the caption sits in the top-left corner; the live region reads it, not the help",
              first.location["x"] - canvas.location["x"] == 10
              and 8 <= first.location["y"] - canvas.location["y"] <= 14
              and by_id("live").get_attribute("aria-live") == "polite"
              and content("live").startswith("Korak %d od %d" % (steps, steps)) and "Temena omotaca" in content("live")
              and "Seme" not in content("live"), str(first.location) + content("live"))

        # A left drag pans: the grabbed point stays under the cursor. R frames it back.
        markers = lambda: [m for m in black_marks(pixels(shot()), WIDTH) if m[2] == 16]
        shot = lambda: canvas.screenshot(page_png) and page_png
        framed = markers()
        ActionChains(driver).move_to_element_with_offset(canvas, -100, -50).click_and_hold().move_by_offset(
            20, 10).move_by_offset(20, 20).release().perform()
        panned = wait(driver, lambda: (lambda m: m if m != framed else None)(markers()), 5) or []
        check("a left drag pans the picture with the cursor",
              len(panned) == len(framed) and all(any(abs(p[0] - q[0] - 40) <= 1 and abs(p[1] - q[1] - 30) <= 1
                                                     for q in framed) for p in panned), "%s -> %s" % (framed, panned))
        canvas.send_keys("r")
        check("R frames the picture again", bool(wait(driver, lambda: markers() == framed, 5)))
        # Three notches of the wheel towards the screen enlarge the picture by 1.049 each.
        ActionChains(driver).scroll_from_origin(ScrollOrigin.from_element(canvas), 0, -300).perform()
        spread = lambda m: max(x for x, _, _ in m) - min(x for x, _, _ in m) if m else 0
        zoomed = wait(driver, lambda: (lambda m: m if spread(m) > spread(framed) else None)(markers()), 5) or []
        check("the wheel zooms the picture", 1.12 < spread(zoomed) / spread(framed) < 1.19,
              "%d -> %d" % (spread(framed), spread(zoomed)))
        canvas.send_keys("r")
        wait(driver, lambda: markers() == framed, 5)

        # A: the method beside the picture, its lines of the step marked.
        canvas.send_keys(Keys.HOME, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, "a")
        blocks = lambda: driver.execute_script(
            "return [...document.querySelectorAll('#text .block')].map(b => [b.offsetLeft, b.textContent])")
        panel_block = wait(driver, lambda: next((b for b in blocks() if b[0] >= WIDTH - 300), None), 5)
        check("A shows the method in the right-hand part, the step's lines marked",
              bool(panel_block) and "> " in "\n".join(t for t in text_over_picture() if t.startswith(">")),
              str(blocks()))
        canvas.send_keys("a")
        check("A again hides it", bool(wait(driver, lambda: all(b[0] < WIDTH - 300 for b in blocks()), 5)))
        # Closing the panel frames the picture in the whole window again.
        wait(driver, lambda: markers() == framed, 5)

        # G: the student picks the farthest point before the step shows it. Where
        # a point is drawn comes from the picture itself: the markers of L and R
        # (the leftmost and rightmost vertices) fix the scale and the offset.
        (lx, ly), (rx, ry) = [tuple(map(int, re.findall(r"-?\d+", hull[k]))) for k in (0, 1)]
        left, right = min(framed), max(framed)
        scale = (right[0] - left[0]) / (rx - lx)
        pixel = lambda x, y: (left[0] + 2 + scale * (x - lx), left[1] + 2 - scale * (y - ly))
        click = lambda x, y: ActionChains(driver).move_to_element_with_offset(
            canvas, int(round(x)) - WIDTH // 2, int(round(y)) - HEIGHT // 2).click().perform()
        canvas.send_keys(Keys.HOME, "g", Keys.ARROW_RIGHT, Keys.ARROW_RIGHT)
        asked = wait(driver, lambda: any(t.startswith("Koja tacka je najdalja iza ivice") for t in text_over_picture()), 5)
        check("G: the step asks for the farthest point first", bool(asked), str(text_over_picture()))
        # L is an end of the edge asked about: not beyond it, which the answer says in words.
        click(*pixel(lx, ly))
        check("a wrong pick is named, with the score",
              bool(wait(driver, lambda: any(t.startswith("Netacno: ta tacka nije iza ivice (%d, %d)" % (lx, ly))
                                            for t in text_over_picture())
                        and "Pogodjeno: 0 od 1" in text_over_picture(), 5)), str(text_over_picture()))
        canvas.send_keys(Keys.ARROW_RIGHT)
        wait(driver, lambda: any(t.startswith("Koja tacka") for t in text_over_picture()), 5)
        click(*pixel(*map(int, re.findall(r"-?\d+", hull[3]))))
        check("the right pick: Tacno!",
              bool(wait(driver, lambda: "Tacno!" in text_over_picture() and "Pogodjeno: 1 od 2" in text_over_picture(), 5)),
              str(text_over_picture()))
        canvas.send_keys("g", Keys.END)

        # An edit click on an empty place adds a point; outside the hull it is a vertex.
        canvas.send_keys("e")
        wait(driver, lambda: "Uredjivanje tacaka" in text_over_picture(), 5)
        figures = lambda: next((t for t in text_over_picture() if t.startswith("Tacke:")), "")
        before = figures()
        ActionChains(driver).move_to_element_with_offset(canvas, 1000 - WIDTH // 2, 680 - HEIGHT // 2).click().perform()
        wait(driver, lambda: figures().startswith("Tacke: %d " % (COUNT + 1)), 5)
        after = figures()
        vertices = int(re.search(r"Temena: (\d+)", after).group(1)) if "Temena" in after else -1
        canvas.screenshot(page_png)
        raw = pixels(page_png)
        check("an edit click adds a point", after.startswith("Tacke: %d " % (COUNT + 1)), before + " -> " + after)
        check("the point added outside the hull is a black vertex",
              any(raw[3 * ((680 + dy) * WIDTH + 1000 + dx):][:3] == b"\0\0\0" for dx in (-1, 0, 1) for dy in (-1, 0, 1)),
              after)

        # X and S: downloads the desktop would have saved.
        canvas.send_keys("x")
        svg = os.path.join(downloads, "omotac-slika-1.svg")
        wait(driver, lambda: os.path.exists(svg) and os.path.getsize(svg) > 0)
        try:
            root = ET.parse(svg).getroot()
            ns = "{http://www.w3.org/2000/svg}"
            group = next(g for g in root.iter(ns + "g") if g.get("id") == "points")
            marks = len(group.findall(ns + "rect"))
        except Exception as e:  # a missing or broken file
            marks = "%s: %s" % (type(e).__name__, e)
        check("X downloads a picture with a mark per point and per vertex", marks == COUNT + 1 + vertices,
              "%s marks, %d points, %d vertices" % (marks, COUNT + 1, vertices))
        canvas.send_keys("s")
        txt = os.path.join(downloads, "omotac-tacke-1.txt")
        wait(driver, lambda: os.path.exists(txt) and os.path.getsize(txt) > 0)
        saved = [l for l in open(txt).read().splitlines() if not l.startswith("#")] if os.path.exists(txt) else []
        listed = [tuple(int(v) for v in re.findall(r"-?\d+", line)) for line in
                  console_out.split("Tacke poligona su:\n\n")[1].split("\n\n")[0].splitlines()]
        check("S downloads the points, the run's and the one added",
              len(saved) == COUNT + 1 and [tuple(map(int, re.split(r"[ ,]+", l.strip()))) for l in saved[:COUNT]] == listed,
              "%d lines" % len(saved))

        # The added point dragged: it follows the cursor and stays a vertex; a
        # right click on it removes it again.
        black_at = lambda raw, x, y: any(raw[3 * ((y + dy) * WIDTH + x + dx):][:3] == b"\0\0\0"
                                         for dx in (-1, 0, 1) for dy in (-1, 0, 1))
        # The live region says nothing while the drag goes on.
        canvas.send_keys(Keys.END)
        spoken = wait(driver, lambda: content("live").startswith("Korak"), 5) and content("live")
        ActionChains(driver).move_to_element_with_offset(canvas, 1000 - WIDTH // 2, 680 - HEIGHT // 2) \
            .click_and_hold().move_by_offset(-10, -10).move_by_offset(-10, -10).perform()
        during = wait(driver, lambda: black_at(pixels(shot()), 980, 660), 5) and content("live")
        ActionChains(driver).release().perform()
        moved = wait(driver, lambda: (lambda raw: black_at(raw, 980, 660) and not black_at(raw, 1000, 680))(
            pixels(shot())), 5)
        check("an edit drag moves the point, the hull following, and the live region waits for its end",
              bool(moved) and during == spoken, "%s | %s | %s" % (figures(), spoken, during))
        ActionChains(driver).move_to_element_with_offset(canvas, 980 - WIDTH // 2, 660 - HEIGHT // 2) \
            .context_click().perform()
        check("a right click in edit mode removes it",
              bool(wait(driver, lambda: figures().startswith("Tacke: %d " % COUNT), 5)), figures())

        # Esc closes what is open (here the method) and ends nothing; Q over
        # edits not saved since asks once more, and the second Q ends the run.
        # The form then starts another without reloading, opening as a window opens.
        canvas.send_keys("a")
        wait(driver, lambda: any(b[0] >= WIDTH - 300 for b in blocks()), 5)
        canvas.send_keys(Keys.ESCAPE)
        closed = wait(driver, lambda: all(b[0] < WIDTH - 300 for b in blocks()) and figures(), 5)
        check("Esc closes the method and keeps the run and its edits", bool(closed) and not content("message"),
              str(text_over_picture()))
        canvas.send_keys("q")
        asks = wait(driver, lambda: any(t.startswith("Izmene nisu sacuvane") for t in text_over_picture()), 5)
        canvas.send_keys("q")
        ended = wait(driver, lambda: not text_over_picture() and "zavrsen" in content("ended")
                     and by_id("ended").is_displayed() and not content("message"), 5)
        frames = driver.execute_script("return Module._omotac_frames()")
        time.sleep(0.3)
        check("Q over unsaved edits asks once more, and the second Q ends the run, which the picture says",
              bool(asks) and bool(ended) and driver.execute_script("return Module._omotac_frames()") == frames
              and "ended" in by_id("picture").get_attribute("class"), content("ended"))
        driver.execute_script("window.omotacSamePage = true")
        by_id("count").clear()
        by_id("count").send_keys("7")
        by_id("seed").clear()
        by_id("seed").send_keys("3")
        click_when_ready(driver, lambda: by_id("start"))
        wait(driver, lambda: "Tacke konveksnog omotaca su:" in content("panel"))
        console_out, _ = desktop("7\n", "--seed", "3")
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        check("a new run from the form, on the same page, with no text over its picture",
              driver.execute_script("return window.omotacSamePage === true")
              and without_time(panel) == without_time(console_out) and not text_over_picture(),
              panel[:80] + str(text_over_picture()))
        canvas.send_keys("q")
        check("Q ends the run", bool(wait(driver, lambda: "zavrsen" in content("ended"), 5)))

        # A distribution from the address, listed by the program itself.
        driver.get(url + "?n=60&seed=5&raspored=krug")
        wait(driver, lambda: "Tacke konveksnog omotaca su:" in content("panel"))
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        console_out, _ = desktop("60\n", "--seed", "5", "--raspored", "krug")
        options = driver.execute_script("return [...document.querySelectorAll('#raspored option')].map(o => o.value)")
        check("the distributions are the program's, krug from the address gives the desktop's run",
              options[0] == "ravnomerno" and "krug" in options and by_id("raspored").get_attribute("value") == "krug"
              and without_time(panel) == without_time(console_out)
              and bool(wait(driver, lambda: content("link").endswith("?n=60&seed=5&raspored=krug"), 5)),
              "%s %s" % (options, content("link")))

        # The methods compared, asked for in the address, as --poredi prints them.
        driver.get(url + "?n=30&seed=7&poredi=1")
        wait(driver, lambda: "Poredjenje metoda:" in by_id("panel").get_attribute("textContent"))
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        console_out, _ = desktop("30\n", "--seed", "7", "--poredi")
        check("the page's text compares the methods as --poredi does",
              without_time(panel) == without_time(console_out) and by_id("poredi").is_selected(), panel[-300:])
        driver.execute_script("document.getElementById('poredi').checked = false")

        # A points file: the same reader, the same run; its messages name the file.
        # Once a run is shown its form is folded into the line above the picture.
        click_when_ready(driver, lambda: by_id("summary"))
        good = os.path.join(scratch, "kvadrat.txt")
        with open(good, "w") as f:
            f.write("# kvadrat\n0 0\n10,0\n10 , 10\n0   10\n5 5\n")
        by_id("file").send_keys(good)
        click_when_ready(driver, lambda: by_id("start"))
        # The file is read before the run starts, so the last run's text stays a
        # moment: a run from a file is the one whose text opens without the prompt.
        wait(driver, lambda: content("panel").startswith("Tacke poligona su:")
             and "Tacke konveksnog omotaca su:" in content("panel"))
        console_out, _ = desktop("", "--points", good)
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        check("a points file gives the desktop's run, and the page says the file was used, not the count and seed",
              without_time(panel) == without_time(console_out)
              and bool(wait(driver, lambda: by_id("address").get_attribute("hidden") is not None, 5))
              and bool(wait(driver, lambda: content("summary").startswith("Tacke iz datoteke kvadrat.txt: 5 tacaka"), 5)),
              panel + content("summary"))
        by_id("canvas").send_keys("q")
        bad = os.path.join(scratch, "tacke.txt")
        with open(bad, "w") as f:
            f.write("0 0\n10,0\nx\n")
        by_id("file").send_keys(bad)
        click_when_ready(driver, lambda: by_id("start"))
        _, desktop_err = desktop("", "--points", bad)
        wait(driver, lambda: "red 3" in content("message"))
        check("a points file fault gets the reader's message",
              content("message") == desktop_err.strip().replace(bad, "tacke.txt"), content("message"))
        # A chosen file is data under its own name, apart from the files the
        # page saves: one named like a saved file is not offered back, and S
        # numbers its own files; names that are folders of the page's file
        # system or look like options are names like any other.
        fresh = os.path.join(scratch, "fresh")
        os.mkdir(fresh)
        driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": fresh})
        for name in ("omotac-tacke-1.txt", "tmp", "dev", "-h"):
            chosen = os.path.join(scratch, "izbor", name)
            os.makedirs(os.path.dirname(chosen), exist_ok=True)
            with open(chosen, "w") as f:
                f.write("0 0\n10 0\n10 10\n0 10\n5 5\n")
            by_id("file").send_keys(chosen)
            click_when_ready(driver, lambda: by_id("start"))
            # Every file here has the same points, and the page reads a file
            # before its run starts: the run is this file's once the run
            # before has gone (Q greyed it) and a picture is shown again.
            ran = wait(driver, lambda: not driver.execute_script(
                           "return document.getElementById('picture').classList.contains('ended')")
                       and content("panel").startswith("Tacke poligona su:\n\n<  0,  0>")
                       and "Tacke konveksnog omotaca su:" in content("panel") and not content("message"), 10)
            check("a chosen file named %s is run as points" % name, bool(ran),
                  content("message") + " | " + content("panel")[:60])
            canvas = by_id("canvas")
            if name == "omotac-tacke-1.txt":
                canvas.send_keys(Keys.HOME, Keys.END)
                time.sleep(0.5)
                offered = os.listdir(fresh)
                canvas.send_keys("s")
                saved = os.path.join(fresh, "omotac-tacke-1.txt")
                wait(driver, lambda: os.path.exists(saved) and os.path.getsize(saved) > 0
                     and "Tacke sacuvane u omotac-tacke-1.txt" in text_over_picture())
                check("a chosen file is not offered back, and S saves the page's own first file",
                      offered == [] and "Tacke sacuvane u omotac-tacke-1.txt" in text_over_picture()
                      and os.listdir(fresh) == ["omotac-tacke-1.txt"], "%s then %s" % (offered, os.listdir(fresh)))
            canvas.send_keys("q")
        kept = driver.execute_script("return [FS.readdir(FS.cwd()), FS.readdir('/izabrana')]")
        check("a chosen file has a place of its own, where the next one replaces it",
              [n for n in kept[0] if n.startswith("omotac")] == ["omotac-tacke-1.txt"]
              and [n for n in kept[1] if not n.startswith(".")] == ["datoteka"], str(kept))
        click_when_ready(driver, lambda: by_id("unchoose"))
        click_when_ready(driver, lambda: by_id("start"))
        wait(driver, lambda: content("panel").startswith("Unesite broj tacaka:")
             and "Tacke konveksnog omotaca su:" in content("panel"))
        check("without the file, random points again", content("chosen") == "nije izabrana"
              and content("panel").startswith("Unesite broj tacaka:"), content("message"))

        # The toolbar: a button for every key, each as large as a finger, named
        # in Serbian with its key in its tooltip, pressing exactly that key.
        driver.get(url + "?n=%d&seed=%d" % (COUNT, SEED))
        wait(driver, lambda: "Tacke konveksnog omotaca su:" in content("panel"))
        buttons = driver.execute_script("""return [...document.querySelectorAll('[role=toolbar] button')].map(b => {
            const r = b.getBoundingClientRect();
            return [b.getAttribute('aria-label'), b.title, r.width, r.height, b.disabled, b.tabIndex,
                    b.getAttribute('aria-pressed')]; })""")
        titles = [b[1] for b in buttons]
        check("the toolbar has a button for every key, the method and comparison keys too",
              all(t in titles for t in ("Sledeci korak (\u2192)", "Pocetak (Home)", "Izmena tacaka (E)",
                                        "Sacuvaj tacke (S)", "Metod (M)", "Uporedi metode (U)", "Korak nazad (\u2190)",
                                        "Kraj (End)", "Pusti ili zaustavi (Razmak)", "Sporije (-)", "Brze (+)",
                                        "Metod pored slike (A)", "Pogadjanje (G)", "Pocetni pogled (R)",
                                        "Sacuvaj sliku (X)", "Pomoc (H)", "Velika slika za projektor (V)",
                                        "Zatvori pitanje, pomoc ili metod (Esc)", "Zavrsi prikaz (Q)")), str(titles))
        check("every button is at least 44 x 44, labelled, enabled and reachable by Tab",
              all(b[0] and b[2] >= 44 and b[3] >= 44 and not b[4] and b[5] >= 0 for b in buttons), str(buttons))
        check("the modes and the play show their state",
              {b[1]: b[6] for b in buttons if b[6] is not None}
              == {title: "false" for title in ("Metod pored slike (A)", "Pogadjanje (G)", "Izmena tacaka (E)",
                                               "Velika slika za projektor (V)", "Pomoc (H)",
                                               "Pusti ili zaustavi (Razmak)")}, str(buttons))
        # The toolbar may be moving for a moment while the picture is fitted again.
        press = lambda title: click_when_ready(driver, lambda: driver.find_element(
            By.CSS_SELECTOR, '[role=toolbar] button[title="%s"]' % title))
        pressed = lambda title: driver.find_element(
            By.CSS_SELECTOR, '[role=toolbar] button[title="%s"]' % title).get_attribute("aria-pressed")
        # Each button, and what the picture then shows.
        # A line of the text that begins so (a caption's first line may name the method after it).
        caption_has = lambda line: lambda: any(t.startswith(line) for t in text_over_picture())
        for title, shows in (("Pocetak (Home)", caption_has("Korak 0 od %d" % steps)),
                             ("Sledeci korak (\u2192)", caption_has("Korak 1 od %d" % steps)),
                             ("Kraj (End)", caption_has("Korak %d od %d" % (steps, steps))),
                             ("Korak nazad (\u2190)", caption_has("Korak %d od %d" % (steps - 1, steps))),
                             ("Sporije (-)", caption_has("Brzina: 1.6 s po koraku")),
                             ("Brze (+)", caption_has("Brzina: 0.8 s po koraku")),
                             ("Metod pored slike (A)", lambda: pressed("Metod pored slike (A)") == "true"
                              and any(t.startswith("Metod najdalje tacke") for t in text_over_picture())),
                             ("Pomoc (H)", lambda: pressed("Pomoc (H)") == "true" and caption_has("Oznake na slici:")()),
                             ("Zatvori pitanje, pomoc ili metod (Esc)", lambda: pressed("Pomoc (H)") == "false"),
                             ("Zatvori pitanje, pomoc ili metod (Esc)", lambda: pressed("Metod pored slike (A)") == "false"),
                             ("Pogadjanje (G)", lambda: pressed("Pogadjanje (G)") == "true"
                              and caption_has("Pogodjeno: 0 od 0")()),
                             ("Izmena tacaka (E)", lambda: pressed("Izmena tacaka (E)") == "true"
                              and pressed("Pogadjanje (G)") == "false" and caption_has("Uredjivanje tacaka")()),
                             ("Izmena tacaka (E)", lambda: pressed("Izmena tacaka (E)") == "false"),
                             ("Velika slika za projektor (V)", lambda: pressed("Velika slika za projektor (V)") == "true"
                              and driver.execute_script("return getComputedStyle(document.querySelector("
                                                        "'#text .block div')).fontSize") == "24px"),
                             ("Velika slika za projektor (V)", lambda: driver.execute_script(
                                 "return getComputedStyle(document.querySelector('#text .block div')).fontSize") == "12px"),
                             # M goes through the methods and back; U shows the comparison and hides it.
                             ("Metod (M)", lambda: any(t.endswith("(jarvis)") for t in text_over_picture())),
                             ("Uporedi metode (U)", lambda: "Sva cetiri metoda daju isti omotac." in text_over_picture()),
                             ("Uporedi metode (U)", lambda: not any(t.startswith("Poredjenje metoda")
                                                                    for t in text_over_picture())),
                             ("Metod (M)", lambda: any(t.endswith("(graham)") for t in text_over_picture())),
                             ("Metod (M)", lambda: any(t.endswith("(andrew)") for t in text_over_picture())),
                             ("Metod (M)", lambda: any(t.endswith("(najdalja)") for t in text_over_picture())),
                             ("Pocetni pogled (R)", lambda: True)):
            press(title)
            check("the button \"%s\" does what its key does" % title, bool(wait(driver, shows, 5)),
                  str(text_over_picture()))
        check("a button clicked leaves the keys to the picture",
              driver.execute_script("return document.activeElement === Module.canvas"))
        # Play at the slowest pace: the caption says the pace while playing, the
        # button its state; Space stops it.
        press("Sporije (-)")
        press("Sporije (-)")
        press("Pocetak (Home)")
        press("Pusti ili zaustavi (Razmak)")
        playing = wait(driver, lambda: "Reprodukcija: 3.2 s po koraku" in text_over_picture()
                       and pressed("Pusti ili zaustavi (Razmak)") == "true"
                       and content("live").startswith("Korak 0 od %d" % steps) and "." not in content("live"), 5)
        check("play at the slowest pace says so, and the live region reads only the step line",
              bool(playing), str(text_over_picture()) + " | " + content("live"))
        by_id("canvas").send_keys(Keys.SPACE)
        check("Space pauses it", bool(wait(driver, lambda: "Pauza" in text_over_picture()
                                           and pressed("Pusti ili zaustavi (Razmak)") == "false", 5)))
        # A play goes on only while the page is seen.
        by_id("canvas").send_keys(Keys.SPACE)
        wait(driver, lambda: "Reprodukcija: 3.2 s po koraku" in text_over_picture(), 5)
        visibility = """Object.defineProperty(document, 'hidden', {configurable: true, get: () => arguments[0]});
            Object.defineProperty(document, 'visibilityState', {configurable: true, get: () => arguments[0] ? 'hidden' : 'visible'});
            document.dispatchEvent(new Event('visibilitychange'));"""
        driver.execute_script(visibility, True)
        hidden = wait(driver, lambda: "Pauza" in text_over_picture(), 5)
        driver.execute_script(visibility, False)
        check("a hidden page pauses the play, and plays on when seen again",
              bool(hidden) and bool(wait(driver, lambda: "Reprodukcija: 3.2 s po koraku" in text_over_picture(), 5)),
              str(text_over_picture()))
        by_id("canvas").send_keys(Keys.END)
        # Keyboard users keep the keys, and see where the keyboard is.
        by_id("canvas").send_keys(Keys.SHIFT + Keys.TAB)
        check("focus on the toolbar is visible", driver.execute_script(
            "const e = document.activeElement; return e.closest('[role=toolbar]') !== null"
            " && getComputedStyle(e).outlineStyle !== 'none'"))

        # The step in the address: kept up to date, and opened again at that step.
        by_id("canvas").send_keys(Keys.HOME, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT)
        stepped = wait(driver, lambda: driver.execute_script("return location.search")
                       == "?n=%d&seed=%d&korak=3" % (COUNT, SEED), 5)
        check("the address follows the step", bool(stepped), driver.execute_script("return location.search"))
        driver.get(url + "?n=%d&seed=%d&metod=jarvis&korak=5" % (COUNT, SEED))
        opened = wait(driver, lambda: any(t.startswith("Korak 5 od ") for t in text_over_picture()), 10)
        check("an address with &korak= shows that step of that method",
              bool(opened) and driver.execute_script("return UTF8ToString(_omotac_method())") == "jarvis"
              and by_id("metod").get_attribute("value") == "jarvis"
              and bool(wait(driver, lambda: driver.execute_script("return location.search")
                            == "?n=%d&seed=%d&metod=jarvis&korak=5" % (COUNT, SEED), 5)),
              str(text_over_picture()) + driver.execute_script("return location.search"))
        # That method's own lines beside the picture, and its own question.
        by_id("canvas").send_keys("a")
        check("A shows the method shown's own lines",
              bool(wait(driver, lambda: "Metod umotavanja (A: sakrij)" in text_over_picture(), 5)), str(text_over_picture()))
        by_id("canvas").send_keys("a", "g", Keys.HOME, Keys.ARROW_RIGHT)
        check("G asks the method shown's next decision",
              bool(wait(driver, lambda: any(t.startswith("Koja tacka je sledece teme posle")
                                            for t in text_over_picture()), 5)), str(text_over_picture()))
        by_id("canvas").send_keys(Keys.ESCAPE, "g")

        # After an edit the address carries the points, the help and the line
        # above the picture no longer claim the seed; the address runs them again.
        by_id("canvas").send_keys(Keys.END, "e")
        ActionChains(driver).move_to_element_with_offset(by_id("canvas"), 1000 - WIDTH // 2, 680 - HEIGHT // 2).click().perform()
        carried = wait(driver, lambda: "tacke=" in driver.execute_script("return location.search"), 5)
        address = driver.execute_script("return location.search")
        by_id("canvas").send_keys("e", "h")
        told = wait(driver, lambda: any(t.startswith("Tacke su izmenjene u prozoru (na pocetku seme: %d" % SEED)
                                        for t in text_over_picture()), 5)
        check("after an edit the address carries the points, and the help and the line say the set was edited",
              bool(carried) and address.count("_") == COUNT and "metod=jarvis" in address and bool(told)
              and not any(t.startswith("Seme:") for t in text_over_picture())
              and content("summary").startswith("Izmenjen skup (na pocetku: seme %d)" % SEED),
              "%d pairs %s | %s | %s" % (address.count("_") + 1, address[-40:], content("summary"), text_over_picture()[-3:]))
        driver.get(url + address)
        reopened = wait(driver, lambda: content("summary").startswith("Tacke iz adrese: %d " % (COUNT + 1)), 10)
        check("that address shows the edited set again", bool(reopened) and content("panel").startswith(
            "Tacke poligona su:"), content("summary"))

        # What the address asks and the page cannot do, in the page's words.
        driver.get(url + "?n=100&seed=5&raspored=oblak")
        wait(driver, lambda: content("message"), 5)
        check("an unknown distribution in the address is named with the ones there are, and nothing runs",
              content("message").startswith('U adresi je nepoznat raspored "oblak"; rasporedi su: ravnomerno, krug')
              and by_id("raspored").get_attribute("value") == "ravnomerno" and by_id("view").get_attribute("hidden")
              is not None, content("message"))
        driver.get(url + "?n=100&seed=" + "7" * 100000)
        wait(driver, lambda: content("message"), 5)
        check("a seed longer than any is refused before anything echoes it",
              content("message") == "Seme je predugacko: seme je ceo broj od 0 do 4294967295."
              and driver.execute_script("return document.documentElement.scrollWidth <= innerWidth"),
              content("message")[:80])
        # Opened cold: what the page is, and examples to open; no warnings.
        driver.get_log("browser")
        driver.get(url)
        wait(driver, lambda: by_id("start").is_enabled())
        examples = driver.execute_script("return [...document.querySelectorAll('#examples a')].map(a => a.search)")
        warnings = [e for e in driver.get_log("browser") if e["level"] in ("WARNING", "SEVERE")]
        check("opened cold, the page says what it is and offers example runs, with no empty box or blank picture",
              by_id("intro").is_displayed() and "Konveksni omotac" in content("intro") and len(examples) == 3
              and "?n=200&seed=7&raspored=mreza&korak=3" in examples and not by_id("panel").is_displayed()
              and not by_id("view").is_displayed(), str(examples))
        driver.get(url + "?n=200&seed=7&raspored=mreza&korak=3")
        wait(driver, lambda: "Korak 3 od" in " ".join(text_over_picture()), 10)
        warnings += [e for e in driver.get_log("browser") if e["level"] in ("WARNING", "SEVERE")]
        check("the browser's console has no warnings on load", not warnings, str(warnings)[:300])
    except Exception as e:  # a step that could not even be taken fails, and the summary still comes
        check("the checks ran to the end", False, "%s: %s" % (type(e).__name__, str(e).splitlines()[0] if str(e) else ""))
    finally:
        driver.quit()
    for part in (screens, phone):
        try:
            part(scratch)
        except Exception as e:
            check("the checks of %s ran to the end" % part.__name__, False,
                  "%s: %s" % (type(e).__name__, str(e).splitlines()[0] if str(e) else ""))
    shutil.rmtree(scratch, ignore_errors=True)
    passed = results.count(True)
    print("%d passed, %d failed" % (passed, len(results) - passed))
    return 0 if results and all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
