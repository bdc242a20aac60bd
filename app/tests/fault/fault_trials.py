#!/usr/bin/env python3
"""Fault trials: kill the application with SIGKILL at random moments and check that nothing is lost
or left half-made.

Each trial queues a burst of clicks (archives of small folders, and scheduled deletions, which save
a settings file), starts `quilla --headless`, kills it after a random delay, and checks that every
settings file is still a complete, valid property list. Now and then a `quilla perform` settings
save is killed the same way. At the end the application runs once to completion and the trials
check that:
  - every settings file is a complete, valid property list;
  - every click was carried out exactly once, or reported in the log as interrupted;
  - no temporary, partial output, work folder or claim is left anywhere.

usage: fault_trials.py QUILLA [--trials N] [--seconds S] [--seed X]
The run stops after N trials or S seconds, whichever comes first. It runs under a session bus
and a throwaway home of its own.
"""
import argparse
import json
import os
import plistlib
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import uuid
import zipfile

LEFTOVER = re.compile(r"^(\.quilla-|quilla-[a-z]+-[0-9A-F-]{36}$|\..+\.[A-Za-z0-9]{6}$)")


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


class Trials:
    def __init__(self, quilla, work, rng):
        self.quilla = quilla
        self.work = work
        self.rng = rng
        self.config = os.path.join(work, "config")
        self.settings = [os.path.join(self.config, "quilla"), os.path.join(self.config, "quilla", "finder-extension")]
        self.queue = os.path.join(self.settings[1], "ActionQueue")
        self.files = os.path.join(work, "files")
        self.log = os.path.join(work, "state", "quilla", "quilla-app-action.log")
        self.clicks = {}  # queue file stem -> (action ID, selected path)
        self.env = dict(os.environ, HOME=os.path.join(work, "home"), XDG_CONFIG_HOME=self.config,
                        XDG_DATA_HOME=os.path.join(work, "data"), XDG_STATE_HOME=os.path.join(work, "state"),
                        XDG_CACHE_HOME=os.path.join(work, "cache"), XDG_RUNTIME_DIR=os.path.join(work, "runtime"),
                        TMPDIR=os.path.join(work, "tmp"), QT_QPA_PLATFORM="offscreen",
                        ASAN_OPTIONS="detect_leaks=0")
        self.env.pop("DISPLAY", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        for key in ("HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME", "TMPDIR"):
            os.makedirs(self.env[key], exist_ok=True)
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        os.makedirs(self.queue, mode=0o700, exist_ok=True)
        for folder in [self.config] + self.settings:
            os.chmod(folder, 0o700)
        os.makedirs(self.files)

    def queue_click(self, action, selected):
        stem = str(uuid.uuid4()).upper()
        text = json.dumps({"actionID": action, "createdAt": time.time(), "destinationPath": "", "presetID": "",
                           "selectedPaths": [selected], "targetedPath": "", "title": action})
        temporary = os.path.join(self.queue, "." + stem + ".json.tmp")
        with open(temporary, "w") as out:
            out.write(text)
        os.rename(temporary, os.path.join(self.queue, stem + ".json"))
        self.clicks[stem] = (action, selected)

    def queue_burst(self):
        for _ in range(self.rng.randint(2, 5)):
            n = len(self.clicks)
            if self.rng.random() < 0.6:
                folder = os.path.join(self.files, "d%d" % n)
                os.makedirs(folder)
                for i in range(self.rng.randint(1, 4)):
                    with open(os.path.join(folder, "f%d.bin" % i), "wb") as out:
                        out.write(os.urandom(self.rng.randint(1, 400) * 1024))
                self.queue_click("compressToZIP", folder)
            else:
                path = os.path.join(self.files, "s%d.txt" % n)
                with open(path, "w") as out:
                    out.write("scheduled")
                self.queue_click("scheduleDelete1Hour", path)

    def kill_after(self, arguments, delay):
        process = subprocess.Popen([self.quilla] + arguments, env=self.env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            process.wait(timeout=delay)
        except subprocess.TimeoutExpired:
            process.send_signal(signal.SIGKILL)
            process.wait()

    def queued_entries(self):
        return [name for name in os.listdir(self.queue) if not name.startswith(".")]

    def run_to_completion(self):
        process = subprocess.Popen([self.quilla, "--headless"], env=self.env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Give up once nothing has moved for a while: a claim nobody deals with never goes away.
        entries, changed = self.queued_entries(), time.monotonic()
        while entries and time.monotonic() - changed < 20:
            time.sleep(0.05)
            now = self.queued_entries()
            if now != entries:
                entries, changed = now, time.monotonic()
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            process.kill()
            fail("quilla did not end after SIGTERM")
        if self.queued_entries():
            fail("clicks still queued after the final run: %s" % self.queued_entries())

    def check_settings(self, when):
        for folder in self.settings:
            if not os.path.isdir(folder):
                continue
            for name in os.listdir(folder):
                if name.endswith(".plist"):
                    try:
                        with open(os.path.join(folder, name), "rb") as source:
                            plistlib.load(source)
                    except Exception as error:
                        fail("%s: %s is not a complete property list: %s" % (when, name, error))

    def check_no_leftovers(self):
        for root, folders, names in os.walk(self.work):
            if root.startswith(self.env["XDG_RUNTIME_DIR"]):
                continue  # the session bus's own socket lives there
            for name in folders + names:
                if LEFTOVER.match(name) or name.endswith(".processing"):
                    fail("left behind: " + os.path.join(root, name))

    def check_clicks(self):
        log = open(self.log, encoding="utf-8", errors="replace").read() if os.path.exists(self.log) else ""
        scheduled = []
        path = os.path.join(self.settings[0], "ScheduledDeletions.plist")
        if os.path.exists(path):
            with open(path, "rb") as source:
                root = plistlib.load(source)
            items = root if isinstance(root, list) else root.get("items", [])
            scheduled = [item.get("path") for item in items if isinstance(item, dict)]
        done = reported = 0
        for stem, (action, selected) in self.clicks.items():
            interrupted = re.search(r"interrupted by an earlier exit: action=%s .*file=.*/%s(\.retry)?\.processing"
                                    % (action, re.escape(stem)), log) is not None
            if action == "compressToZIP":
                parent, base = os.path.split(selected)
                archives = [n for n in os.listdir(parent) if re.fullmatch(re.escape(base) + r"( \d+)?\.zip", n)]
                for archive in archives:
                    with zipfile.ZipFile(os.path.join(parent, archive)) as z:
                        if z.testzip() is not None:
                            fail("damaged archive " + archive)
                count = len(archives)
            else:
                count = min(1, scheduled.count(selected))  # the list keeps an item once
            if count > 1:
                fail("%s on %s carried out %d times" % (action, selected, count))
            if count == 0 and not interrupted:
                fail("%s on %s (%s) neither done nor reported" % (action, selected, stem))
            done += count
            reported += interrupted
        return done, reported


SESSION_CONF = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%(work)s</listen>
  <auth>EXTERNAL</auth>
  <servicedir>%(work)s/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def run_under_own_bus():
    """Runs this script again under a session bus of its own that starts no services, so the
    application meets neither the developer's session nor a file manager it would activate."""
    work = tempfile.mkdtemp(prefix="quilla-faults-bus-")
    try:
        os.makedirs(os.path.join(work, "services"))
        conf = os.path.join(work, "session.conf")
        with open(conf, "w") as out:
            out.write(SESSION_CONF % {"work": work})
        env = dict(os.environ, QUILLA_FAULTS_INNER="1")
        return subprocess.call(["dbus-run-session", "--config-file=" + conf, "--", sys.executable,
                                os.path.abspath(__file__)] + sys.argv[1:], env=env)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    if not os.environ.get("QUILLA_FAULTS_INNER"):
        sys.exit(run_under_own_bus())
    parser = argparse.ArgumentParser()
    parser.add_argument("quilla")
    parser.add_argument("--trials", type=int, default=300)
    parser.add_argument("--seconds", type=float, default=600)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    options = parser.parse_args()
    seed = options.seed if options.seed is not None else random.randrange(1 << 30)
    print("seed %d" % seed)
    rng = random.Random(seed)
    work = tempfile.mkdtemp(prefix="quilla-faults-")
    try:
        trials = Trials(os.path.abspath(options.quilla), work, rng)
        end = time.monotonic() + options.seconds
        count = 0
        while count < options.trials and time.monotonic() < end:
            if rng.random() < 0.2:
                target = os.path.join(trials.files, "p%d.txt" % count)
                open(target, "w").close()
                trials.kill_after(["perform", "scheduleDelete1Hour", "--selected", target], rng.uniform(0, 0.5))
            else:
                trials.queue_burst()
                trials.kill_after(["--headless"], rng.uniform(0, 1.5))
            trials.check_settings("after trial %d" % count)
            count += 1
        trials.run_to_completion()
        trials.check_settings("after the final run")
        trials.check_no_leftovers()
        done, reported = trials.check_clicks()
        print("%d trials, %d clicks: %d done once, %d reported as interrupted" % (count, len(trials.clicks), done,
                                                                                   reported))
    finally:
        if options.keep:
            print("work folder " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
