#!/usr/bin/python3
"""The page in a real browser: Debian's headless Chromium with software WebGL,
opened from disk, driven with real keys and clicks, held to the desktop
program's dialogue and first picture for the same seed.

usage: page_test.py PAGE.html DESKTOP_PROGRAM
Prints one line per check and closes with "N passed, N failed"; the status is
non-zero when a check failed. Every run is from a fixed seed or typed input.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

from selenium import webdriver
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
NO_COUNT = "Nije unet broj tacaka."

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


def browser(downloads):
    options = webdriver.ChromeOptions()
    for a in ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
              "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
              "--user-data-dir=" + os.path.join(downloads, "profile"), "--window-size=1300,1500"]:
        options.add_argument(a)
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


def main():
    scratch = tempfile.mkdtemp(prefix="omotac-page-")
    downloads = os.path.join(scratch, "downloads")
    os.mkdir(downloads)
    url = "file://" + PAGE
    driver = browser(downloads)
    by_id = lambda name: driver.find_element(By.ID, name)
    text_over_picture = lambda: driver.execute_script(
        "return [...document.querySelectorAll('#text .block div')].map(e => e.textContent)")
    try:
        # The form: the console's prompt and its refusals.
        driver.get(url)
        wait(driver, lambda: by_id("start").is_enabled())
        console_out, _ = desktop("abc\n", "--seed", "1")
        check("the title is the window's", driver.title == "Divavorade - prikaz zadatka", driver.title)
        check("the form asks what the console asks", by_id("prompt").text + "\n" == console_out.splitlines(True)[0],
              by_id("prompt").text)
        by_id("count").send_keys("abc")
        by_id("start").click()
        wait(driver, lambda: by_id("message").text)
        check("a refused count gets the console's refusal",
              by_id("panel").text == console_out.rstrip("\n") and by_id("message").text == NO_COUNT
              and REFUSED in by_id("panel").text, by_id("panel").text + " | " + by_id("message").text)
        by_id("count").clear()
        by_id("count").send_keys("5")
        by_id("seed").send_keys("x")
        by_id("start").click()
        _, desktop_err = desktop("5\n", "--seed", "x")
        wait(driver, lambda: "seme" in by_id("message").text)
        check("a bad seed gets the command line's message", by_id("message").text == desktop_err.strip(),
              by_id("message").text)

        # A run from the address: the console's lines and the first picture.
        driver.get(url + "?n=%d&seed=%d" % (COUNT, SEED))
        wait(driver, lambda: "Tacke konveksnog omotaca su:" in by_id("panel").text)
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        console_out, _ = desktop("%d\n" % COUNT, "--seed", str(SEED))
        check("the address starts the run at once", "Tacke poligona su:" in panel, panel[:80])
        check("the panel holds the console's lines", without_time(panel) == without_time(console_out),
              panel[-200:])
        check("the page shows the address of the run",
              by_id("link").text.endswith("omotac.html?n=%d&seed=%d" % (COUNT, SEED)), by_id("link").text)
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
        check("the caption sits in the top-left corner, in the live region",
              first.location["x"] - canvas.location["x"] == 10
              and 8 <= first.location["y"] - canvas.location["y"] <= 14
              and by_id("text").get_attribute("aria-live") == "polite", str(first.location))

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
        ActionChains(driver).move_to_element_with_offset(canvas, 1000 - WIDTH // 2, 680 - HEIGHT // 2) \
            .click_and_hold().move_by_offset(-10, -10).move_by_offset(-10, -10).release().perform()
        moved = wait(driver, lambda: (lambda raw: black_at(raw, 980, 660) and not black_at(raw, 1000, 680))(
            pixels(shot())), 5)
        check("an edit drag moves the point, the hull following", bool(moved), figures())
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
        check("Esc closes the method and keeps the run and its edits", bool(closed) and not by_id("message").text,
              str(text_over_picture()))
        canvas.send_keys("q")
        asks = wait(driver, lambda: any(t.startswith("Izmene nisu sacuvane") for t in text_over_picture()), 5)
        canvas.send_keys("q")
        ended = wait(driver, lambda: not text_over_picture() and "zavrsen" in by_id("message").text, 5)
        frames = driver.execute_script("return Module._omotac_frames()")
        time.sleep(0.3)
        check("Q over unsaved edits asks once more, and the second Q ends the run",
              bool(asks) and bool(ended) and driver.execute_script("return Module._omotac_frames()") == frames,
              by_id("message").text)
        driver.execute_script("window.omotacSamePage = true")
        by_id("count").clear()
        by_id("count").send_keys("7")
        by_id("seed").clear()
        by_id("seed").send_keys("3")
        by_id("start").click()
        wait(driver, lambda: "Tacke konveksnog omotaca su:" in by_id("panel").text)
        console_out, _ = desktop("7\n", "--seed", "3")
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        check("a new run from the form, on the same page, with no text over its picture",
              driver.execute_script("return window.omotacSamePage === true")
              and without_time(panel) == without_time(console_out) and not text_over_picture(),
              panel[:80] + str(text_over_picture()))
        canvas.send_keys("q")
        check("Q ends the run", bool(wait(driver, lambda: "zavrsen" in by_id("message").text, 5)))

        # A distribution from the address, listed by the program itself.
        driver.get(url + "?n=60&seed=5&raspored=krug")
        wait(driver, lambda: "Tacke konveksnog omotaca su:" in by_id("panel").text)
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        console_out, _ = desktop("60\n", "--seed", "5", "--raspored", "krug")
        options = driver.execute_script("return [...document.querySelectorAll('#raspored option')].map(o => o.value)")
        check("the distributions are the program's, krug from the address gives the desktop's run",
              options[0] == "ravnomerno" and "krug" in options and by_id("raspored").get_attribute("value") == "krug"
              and without_time(panel) == without_time(console_out)
              and by_id("link").text.endswith("?n=60&seed=5&raspored=krug"), "%s %s" % (options, by_id("link").text))

        # A points file: the same reader, the same run; its messages name the file.
        good = os.path.join(scratch, "kvadrat.txt")
        with open(good, "w") as f:
            f.write("# kvadrat\n0 0\n10,0\n10 , 10\n0   10\n5 5\n")
        by_id("file").send_keys(good)
        by_id("start").click()
        # The file is read before the run starts, so the last run's text stays a
        # moment: a run from a file is the one whose text opens without the prompt.
        wait(driver, lambda: by_id("panel").text.startswith("Tacke poligona su:")
             and "Tacke konveksnog omotaca su:" in by_id("panel").text)
        console_out, _ = desktop("", "--points", good)
        panel = driver.execute_script("return document.getElementById('panel').textContent")
        check("a points file gives the desktop's run", without_time(panel) == without_time(console_out)
              and by_id("address").get_attribute("hidden") is not None, panel)
        by_id("canvas").send_keys("q")
        bad = os.path.join(scratch, "tacke.txt")
        with open(bad, "w") as f:
            f.write("0 0\n10,0\nx\n")
        by_id("file").send_keys(bad)
        by_id("start").click()
        _, desktop_err = desktop("", "--points", bad)
        wait(driver, lambda: "red 3" in by_id("message").text)
        check("a points file fault gets the reader's message",
              by_id("message").text == desktop_err.strip().replace(bad, "tacke.txt"), by_id("message").text)
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
            by_id("start").click()
            ran = wait(driver, lambda: by_id("panel").text.startswith("Tacke poligona su:\n\n<  0,  0>")
                       and "Tacke konveksnog omotaca su:" in by_id("panel").text and not by_id("message").text, 10)
            check("a chosen file named %s is run as points" % name, bool(ran),
                  by_id("message").text + " | " + by_id("panel").text[:60])
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
        by_id("unchoose").click()
        by_id("start").click()
        wait(driver, lambda: by_id("panel").text.startswith("Unesite broj tacaka:")
             and "Tacke konveksnog omotaca su:" in by_id("panel").text)
        check("without the file, random points again", by_id("chosen").text == "nije izabrana"
              and by_id("panel").text.startswith("Unesite broj tacaka:"), by_id("message").text)
    except Exception as e:  # a step that could not even be taken fails, and the summary still comes
        check("the checks ran to the end", False, "%s: %s" % (type(e).__name__, str(e).splitlines()[0] if str(e) else ""))
    finally:
        driver.quit()
        shutil.rmtree(scratch, ignore_errors=True)
    passed = results.count(True)
    print("%d passed, %d failed" % (passed, len(results) - passed))
    return 0 if results and all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
