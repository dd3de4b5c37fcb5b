#!/usr/bin/python3
"""The page as a player meets it in headless Chromium (software WebGL) on 127.0.0.1, checked
as the Linux game's play_test.sh checks the window; then a Chromium without WebGL.
Usage: web_test.py <build-web folder>  (screenshots in <folder>/test-artifacts/web)"""
import atexit
import functools
import http.server
import os
import subprocess
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SITE = os.path.abspath(sys.argv[1])
SHOTS = os.path.join(SITE, "test-artifacts", "web")
started = time.monotonic()


def fail(what):
    sys.exit("FAIL: " + what)


def say(what):
    print("[%d s] %s" % (time.monotonic() - started, what), flush=True)


def wait_for(limit, check):  # polls check() until it gives something true
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        value = check()
        if value:
            return value
        time.sleep(0.1)


def serve():  # SITE on a free port of 127.0.0.1 only; the page's address
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *a: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(quiet, directory=SITE))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d/index.html" % server.server_port


def browser(*flags):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--mute-audio") + flags:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    atexit.register(driver.quit)
    # The canvas is scaled to the window at 4:3: a 1024 x 768 window shows it 1:1.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 1024, "height": 768, "deviceScaleFactor": 1, "mobile": False})
    return driver


def wall(*args):
    out = subprocess.run([sys.executable, os.path.join(HERE, "wall.py")] + list(args),
                         check=True, stdout=subprocess.PIPE, text=True).stdout.split()
    return None if out == ["none"] else out


def rmse(a, b):  # as lib.sh's: normalised, 0 ... 1
    out = subprocess.run(["compare", "-metric", "RMSE", a, b, "null:"], stderr=subprocess.PIPE,
                         text=True).stderr
    return float(out.split("(")[1].split(")")[0]) if "(" in out else 1.0


class Page:
    def __init__(self, driver, url):
        self.d, self.log = driver, []
        driver.get(url)

    def js(self, script):
        return self.d.execute_script("return " + script)

    def look(self, name="probe"):
        path = os.path.join(SHOTS, name + ".png")
        self.d.find_element("id", "canvas").screenshot(path)
        return path

    def keys(self, down=(), up=()):
        chain = ActionChains(self.d)
        [chain.key_down(k) for k in down] + [chain.key_up(k) for k in up]
        chain.perform()

    def player(self):
        found = wall("player", self.look())
        return (int(found[0]), int(found[1])) if found else None

    def console(self):
        self.log += self.d.get_log("browser")
        return self.log

    def loads_to_title(self, title):  # (ms since the page was opened, RMSE to the picture)
        bar = wait_for(60, lambda: self.js("document.getElementById('loading').hidden &&"
                                           " document.getElementById('fill').style.width"))
        if bar != "100%":
            fail("the loading bar did not complete")
        difference = [1.0]
        if not wait_for(30, lambda: difference.__setitem__(0, rmse(self.look(), title)) or
                        difference[0] < 0.05):
            fail("the page does not show the title picture (RMSE %.3f)" % difference[0])
        return self.js("performance.now()"), difference[0]

    def wall_shown(self):
        def shown():
            shot = self.look()
            digit, fit = wall("score", shot, os.path.join(ROOT, "data"))
            share, colours = wall("notes", shot)
            return digit == "0" and float(fit) < 20 and float(share) > 0.8 and int(colours) >= 4
        if not wait_for(30, shown):
            fail("no note wall with score 0 after a key on the title")
        self.look("wall")


def alive(page):  # the figure's place; after a level shot's hit Right and Down bring a new one
    for attempt in range(80):
        at = page.player()
        if at:
            return at
        if attempt % 3 == 2:
            page.keys(*[[Keys.ARROW_RIGHT, Keys.ARROW_DOWN]] * 2)
    fail("the player did not come back")


def move(page, keys, dx, dy):  # holds two arrows until the figure moved 64 px along both
    for _ in range(3):
        x0, y0 = alive(page)
        page.keys(down=keys)
        at = wait_for(30, lambda: (lambda p: p if p and (p[0] - x0) * dx >= 64 and
                                   (p[1] - y0) * dy >= 64 else None)(page.player()))
        page.keys(up=keys)
        if at:
            page.look("moved-%d-%d" % (dx, dy))
            return "moved the player from (%d, %d) to (%d, %d)" % (x0, y0, at[0], at[1])
    fail("the arrows did not move the player (from %d, %d)" % (x0, y0))


def main():
    os.makedirs(SHOTS, exist_ok=True)
    title = os.path.join(SHOTS, "title-picture.png")
    subprocess.run(["convert", os.path.join(ROOT, "data/gfx/title_screen.jpg"), title], check=True)
    url = serve()
    page = Page(browser("--use-angle=swiftshader", "--enable-unsafe-swiftshader"), url)
    late, difference = page.loads_to_title(title)
    page.look("title")
    held = page.js("SDL.music.audio && !SDL.music.audio.paused && SDL.audioContext.state")
    if held not in ("suspended", "running"):
        fail("the title's music was not started (%s)" % held)
    say("title shown %d ms after the page was opened (RMSE %.3f to the picture), music started,"
        " audio %s before the first key" % (late, difference, held))
    page.keys(down=[Keys.ENTER], up=[Keys.ENTER])
    if not wait_for(10, lambda: page.js("SDL.audioContext.state == 'running' &&"
                                        " !SDL.music.audio.paused")):
        fail("the music did not play after the first key")
    page.wall_shown()
    say("music playing after the first key; note wall with the score label reading 0")

    say("Right and Down " + move(page, [Keys.ARROW_RIGHT, Keys.ARROW_DOWN], 1, 1))
    say("Left and Up " + move(page, [Keys.ARROW_LEFT, Keys.ARROW_UP], -1, -1))

    # Frames: the game clears the screen once a frame. Sounds: each effect started.
    page.js("(function () { window.frames_ = window.sounds_ = 0; var c = GLctx.clear.bind(GLctx);"
            " GLctx.clear = function (m) { ++frames_; c(m); }; var p = SDL.playWebAudio;"
            " SDL.playWebAudio = function (a) { sounds_ += a !== SDL.music.audio; p(a); };"
            " return true; })()")
    t0, f0 = page.js("[performance.now(), frames_]")
    for _ in range(3):
        x, y = alive(page)
        page.keys(down=[Keys.SPACE])
        shots = wait_for(30, lambda: int(wall("shots", page.look(), str(x + 64), str(y + 32))[0])
                         >= 24 and page.js("sounds_"))
        page.keys(up=[Keys.SPACE])
        if shots:
            break
    else:
        fail("no shot notes right of the player, or no sound started, while Space is held")
    page.look("shots")
    t1, f1 = page.js("[performance.now(), frames_]")
    say("shots seen, %d sounds started; %.1f frames per second in play" %
        (page.js("sounds_"), (f1 - f0) * 1000 / (t1 - t0)))

    page.keys(down=[Keys.ESCAPE], up=[Keys.ESCAPE])
    ended = wait_for(20, lambda: page.js("!document.getElementById('message').hidden &&"
                                         " window.korvaneExit === 0 &&"
                                         " document.getElementById('text').textContent"))
    if not ended or page.js("document.getElementById('again').hidden"):
        fail("Escape in play did not give the page's ended message with Play again")
    page.look("ended")
    page.console()
    page.d.find_element("id", "again").click()
    page.loads_to_title(title)
    page.keys(down=[Keys.ENTER], up=[Keys.ENTER])
    page.wall_shown()
    say("Escape: the page says '%s'; Play again: title, then a new note wall with score 0"
        % ended)
    # Errors; the game's error stream (warnings but emscripten's GL notes), its "Error!"s.
    stored = page.js("document.cookie.length + localStorage.length + sessionStorage.length")
    errors = ["%d things stored" % stored] * bool(stored) + [
        e["message"] for e in page.console() if e["level"] == "SEVERE" or
        e["source"] == "console-api" and ("Error" in e["message"] or e["level"] == "WARNING"
                                          and "emscripten GL" not in e["message"])]
    if errors:
        fail("the page stored something or the console holds errors:\n" + "\n".join(errors))

    page = Page(browser("--disable-webgl"), url)
    text = wait_for(60, lambda: page.js("!document.getElementById('message').hidden &&"
                                        " document.getElementById('text').textContent"))
    if not text or "Video mode set failed" not in text or "WebGL" not in text:
        fail("without WebGL the page does not show the game's message (%r)" % text)
    page.look("no-webgl")
    say("without WebGL the page says: " + " / ".join(text.split("\n")))
    say("PASS: loading, title, music, wall, arrows, shots and sounds, Play again, no error")


main()
