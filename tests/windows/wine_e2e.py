#!/usr/bin/env python3
"""End-to-end check of the Windows build: zizezed.exe runs under Wine in Xvfb.

    tests/windows/wine_e2e.py BUILD_DIR      (BUILD_DIR holds zizezed.exe; default build-windows)

The Wine prefix lives in BUILD_DIR/wine-prefix and is made once. A new prefix has an empty
C:\\windows\\Fonts, so each run first puts metric-compatible stand-ins there under the file names
of the program's font table: the program opens those literal paths, exactly as on Windows.
Runs: all six faces present; then arial.ttf missing, where the splash screen and the subtitle
fall back to the built-in 8x16 font. Keys go in through XTest (xdotool); the screen is read back
with xwd. Ends with the line "windows: N passed, M failed".
"""

import os
import re
import shutil
import subprocess
import sys
import time
import traceback

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from screen import grab, rgb  # noqa: E402

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 720
BLACK, WHITE, GREY = rgb(0, 0, 0), rgb(255, 255, 255), rgb(180, 180, 180)
SUBTITLE = rgb(128, 128, 255)  # the subtitle line's start colour
BUILTIN_WIDTH, BUILTIN_HEIGHT = 8, 16
LIBERATION = "/usr/share/fonts/truetype/liberation2"
# Arial Black has no metric-compatible face; the bold sans stands in for it.
FONT_STAND_INS = {
    "arial.ttf": "LiberationSans-Regular.ttf",
    "ariblk.ttf": "LiberationSans-Bold.ttf",
    "cour.ttf": "LiberationMono-Regular.ttf",
    "courbd.ttf": "LiberationMono-Bold.ttf",
    "times.ttf": "LiberationSerif-Regular.ttf",
    "timesbd.ttf": "LiberationSerif-Bold.ttf",
}
# DLLs every Windows installation has; anything else would have to ship beside the .exe.
SYSTEM_DLLS = {
    "advapi32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
    "oleaut32.dll", "setupapi.dll", "shell32.dll", "user32.dll", "version.dll", "winmm.dll",
    "comdlg32.dll", "winspool.drv", "dinput8.dll", "ws2_32.dll", "hid.dll", "cfgmgr32.dll",
}
WAIT_SECONDS = 30


class CheckFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def log(message):
    print("wine e2e: " + message, flush=True)


class Xvfb:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT), "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            self.display = ":" + numbers.readline().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Wine:
    def __init__(self, build_dir, display):
        self.prefix = os.path.join(build_dir, "wine-prefix")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEARCH="win64", WINEDEBUG="-all",
                        DISPLAY=display,
                        # No Mono or Gecko install prompts, no desktop menu entries in $HOME.
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")

    def version(self):
        return subprocess.run(["wine", "--version"], env=self.env, capture_output=True,
                              text=True).stdout.strip()

    def ensure_prefix(self):
        stamp = os.path.join(self.prefix, ".zizezed-prefix")
        if os.path.exists(stamp) and open(stamp).read() == self.version():
            return
        shutil.rmtree(self.prefix, ignore_errors=True)
        started = time.monotonic()
        subprocess.run(["wine", "wineboot", "--init"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_idle()
        with open(stamp, "w") as out:
            out.write(self.version())
        log("new Wine prefix in %.1f s" % (time.monotonic() - started))

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def install_fonts(self, missing=()):
        fonts = self.drive_c("windows", "Fonts")
        os.makedirs(fonts, exist_ok=True)
        for name, stand_in in FONT_STAND_INS.items():
            target = os.path.join(fonts, name)
            if name in missing:
                if os.path.exists(target):
                    os.remove(target)
            else:
                shutil.copyfile(os.path.join(LIBERATION, stand_in), target)

    def install_program(self, exe):
        """The .exe alone in a folder of its own: nothing beside it to load."""
        folder = self.drive_c("zizezed")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copyfile(exe, os.path.join(folder, "zizezed.exe"))
        return "C:\\zizezed\\zizezed.exe"

    def start(self, program, error_log):
        return subprocess.Popen(["wine", program], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=error_log, cwd=self.drive_c())

    def wait_idle(self):
        subprocess.run(["wineserver", "--wait"], env=self.env)

    def stop_server(self):
        subprocess.run(["wineserver", "--kill"], env=self.env)


class Session:
    """One run of the program: keys in, screens out."""

    def __init__(self, wine, display, program, name, failure_dir):
        self.wine, self.display, self.name, self.failure_dir = wine, display, name, failure_dir
        self.error_path = os.path.join(failure_dir, "wine-e2e-%s.stderr" % name)
        with open(self.error_path, "wb") as error_log:
            self.process = wine.start(program, error_log)
        self.last = None

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), check=True,
                       env=dict(os.environ, DISPLAY=self.display))

    def grab(self):
        self.last = grab(self.display)
        return self.last

    def keep(self, screen, what):
        """ZZ_WINE_E2E_SCREENS=DIR keeps the checked screens as PNG files, to look at."""
        folder = os.environ.get("ZZ_WINE_E2E_SCREENS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            screen.save_png(os.path.join(folder, "%s-%s.png" % (self.name, what)))
        return screen

    def wait_for(self, what, condition):
        deadline = time.monotonic() + WAIT_SECONDS
        while time.monotonic() < deadline:
            check(self.process.poll() is None,
                  "the program ended (status %s) while waiting for %s" % (self.process.returncode, what))
            screen = self.grab()
            if condition(screen):
                return screen
            time.sleep(0.1)
        raise CheckFailed("no %s within %d s" % (what, WAIT_SECONDS))

    def save_failure_screen(self):
        if self.last is not None:
            path = os.path.join(self.failure_dir, "wine-e2e-%s.png" % self.name)
            self.last.save_png(path)
            log("last screen of the failed run: " + path)
        log("its standard error: " + self.error_path)

    def finish(self):
        try:
            output, _ = self.process.communicate(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.communicate()
            raise CheckFailed("the program did not end within %d s of ESC" % WAIT_SECONDS)
        return self.process.returncode, output

    def abandon(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.communicate()
        self.wine.stop_server()  # the Windows process may outlive its loader


def is_exact(screen, box, colours):
    return screen.colours_in(box) <= set(colours)


def check_splash(screen, builtin):
    first = screen.box_of(WHITE, 0, 0, SCREEN_WIDTH, 90)
    check(first is not None, "no splash title line")
    x0, y0, x1, y1 = first
    check(50 <= x0 <= 54 and 50 <= y0 <= 58, "splash title line at (%d, %d), not at (50, 50)" % (x0, y0))
    everything = screen.box_of_other_than(BLACK)
    check(everything[0] >= 49 and everything[1] >= 49 and everything[3] <= 290,
          "splash lines reach outside their area: %s" % (everything,))
    for top in (100, 130, 160, 220, 250):
        line = screen.box_of(GREY, 0, top, SCREEN_WIDTH, top + 24)
        check(line is not None and 50 <= line[0] <= 56 and line[1] <= top + 8,
              "no grey splash line at y=%d: %s" % (top, line))
    title_colours = [BLACK, WHITE]
    if builtin:
        text = "Zizezed v1.0"
        check(x1 <= 50 + BUILTIN_WIDTH * len(text) and y1 <= 50 + BUILTIN_HEIGHT,
              "built-in font title line is %s, larger than its 8x16 cells" % (first,))
        check(is_exact(screen, first, title_colours), "built-in font title line is smoothed")
    else:
        check(not is_exact(screen, first, title_colours), "title line is not smoothed: no face loaded")


def subtitle_box(screen):
    return screen.box_of(SUBTITLE, 0, 560, SCREEN_WIDTH, SCREEN_HEIGHT)


def splash_gone(screen):
    return screen.box_of_other_than(BLACK, 0, 0, SCREEN_WIDTH, 300) is None


def name_box(screen):
    return screen.box_of_other_than(BLACK, 0, 470, SCREEN_WIDTH, 595)


def check_card(screen, subtitle_builtin):
    check(splash_gone(screen), "the splash screen is still there")
    name = name_box(screen)
    check(name is not None, "no name line")
    check(20 <= name[0] <= 28 and 500 <= name[1] <= 530, "name line at (%d, %d), not at (20, 500)" % name[:2])
    check(WHITE in screen.colours_in(name), "the name line is not white")
    check(not is_exact(screen, name, [BLACK, WHITE]), "the name line is not smoothed: no face loaded")
    subtitle = subtitle_box(screen)
    check(subtitle is not None, "no subtitle line")
    check(20 <= subtitle[0] <= 26 and 600 <= subtitle[1] <= 612,
          "subtitle line at (%d, %d), not at (20, 600)" % subtitle[:2])
    if subtitle_builtin:
        check(subtitle[2] <= 20 + BUILTIN_WIDTH * len("Untertitel") and subtitle[3] <= 600 + BUILTIN_HEIGHT,
              "built-in font subtitle is %s, larger than its 8x16 cells" % (subtitle,))
        check(is_exact(screen, subtitle, [BLACK, SUBTITLE]), "built-in font subtitle is smoothed")
    else:
        check(not is_exact(screen, subtitle, [BLACK, SUBTITLE]), "subtitle is not smoothed: no face loaded")
    return name


def check_full_screen_window(display):
    tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", display], check=True,
                          capture_output=True, text=True).stdout
    sizes = re.findall(r'\("zizezed\.exe" "zizezed\.exe"\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)', tree)
    wanted = (str(SCREEN_WIDTH), str(SCREEN_HEIGHT), "0", "0")
    check(wanted in sizes, "no %sx%s+%s+%s window of zizezed.exe: %s" % (wanted + (sizes,)))


def run_program(wine, display, program, name, failure_dir, missing_arial):
    session = Session(wine, display, program, name, failure_dir)
    try:
        session.wait_for("splash screen", lambda s: s.box_of(GREY) is not None)
        # Both splash frames may come in quick succession; take the settled one.
        time.sleep(0.3)
        check_splash(session.keep(session.grab(), "splash"), builtin=missing_arial)
        check_full_screen_window(display)
        session.key("space")
        session.wait_for("title card", lambda s: subtitle_box(s) is not None and splash_gone(s))
        time.sleep(0.2)
        name = check_card(session.keep(session.grab(), "card"), subtitle_builtin=missing_arial)
        session.key("shift+x")
        typed = name_box(session.wait_for("typed X on the name line", lambda s: (
            (box := name_box(s)) is not None and box[2] >= name[2] + 20)))
        # Windows' own key codes: keypad 4 without NumLock is the left arrow there.
        session.key("KP_Left")
        session.wait_for("name line moved 5 pixels left by keypad 4", lambda s: (
            (box := name_box(s)) is not None and box[0] == typed[0] - 5))
        session.key("ctrl+b")
        session.wait_for("white background after CTRL+B", lambda s: s.at(0, 0) == WHITE)
        time.sleep(0.2)
        white = session.keep(session.grab(), "white")
        check(white.count(WHITE) >= 0.95 * SCREEN_WIDTH * SCREEN_HEIGHT and
              white.at(SCREEN_WIDTH - 1, SCREEN_HEIGHT - 1) == WHITE,
              "the white background does not cover the desktop")
        check(subtitle_box(white) is not None, "the subtitle is gone after CTRL+B")
        session.key("Escape")
        status, output = session.finish()
        check(status == 0, "exit status %d after ESC" % status)
        check(output == b"", "unexpected output: %r" % output)
    except Exception:
        session.save_failure_screen()
        session.abandon()
        raise


def check_static(exe):
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], check=True, capture_output=True,
                          text=True).stdout
    dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    check(dlls and dlls <= SYSTEM_DLLS, "zizezed.exe needs DLLs beside it: %s" % sorted(dlls - SYSTEM_DLLS))


def main():
    build_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-windows")
    exe = os.path.join(build_dir, "zizezed.exe")
    passed, failed = 0, 0

    def case(name, function, *args):
        nonlocal passed, failed
        started = time.monotonic()
        try:
            function(*args)
            passed += 1
            log("%s: ok (%.1f s)" % (name, time.monotonic() - started))
        except Exception as error:
            failed += 1
            log("%s: FAILED: %s" % (name, error))
            if not isinstance(error, CheckFailed):
                traceback.print_exc()

    if not os.path.exists(exe):
        log("no %s: build it first (make windows)" % exe)
        print("windows: 0 passed, 1 failed")
        return 1
    case("statically linked", check_static, exe)
    xvfb = Xvfb()
    wine = Wine(build_dir, xvfb.display)
    try:
        wine.ensure_prefix()
        program = wine.install_program(exe)
        wine.install_fonts()
        case("all faces", run_program, wine, xvfb.display, program, "all-faces", build_dir, False)
        wine.install_fonts(missing=("arial.ttf",))
        case("arial.ttf missing", run_program, wine, xvfb.display, program, "arial-missing", build_dir, True)
    finally:
        wine.stop_server()
        xvfb.stop()
    print("windows: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
