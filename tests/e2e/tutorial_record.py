#!/usr/bin/env python3
# Writes the tutorial's end-to-end scripts by playing the tutorial through the runner's streaming
# mode, steering by the state reports the way a player steers by the screen, and keeping every
# input with its time. Run it again whenever data/levels/tutorial.dat changes:
#   tests/e2e/tutorial_record.py build/dev/tools/replay/kindlewisp-replay build/dev/kindlewisp tests/e2e
import json
import os
import shutil
import subprocess
import sys
import tempfile

FRAME = 16
EMPTY, FIREBALL = 0, 6
COLOURED = range(1, 6)


class Player:
    """One run of the runner; every input goes both to the game and into the recorded script."""

    def __init__(self, runner, game_dir, pad, header):
        self.pad = pad
        self.work = tempfile.mkdtemp(prefix="kw-tutorial-record-")
        shutil.copytree(os.path.join(game_dir, "game"), os.path.join(self.work, "game"),
                        ignore=shutil.ignore_patterns("*.log", "*.lock"))
        for name in ("game.dat", "scores.dat"):
            shutil.copy(os.path.join(SOURCE_DIR, "data", name), os.path.join(self.work, "game", "data", name))
        if SETUP_GAME_DAT:
            with open(os.path.join(self.work, "game", "data", "game.dat"), "w", newline="") as f:
                f.write(SETUP_GAME_DAT)
        out = os.path.join(self.work, "out")
        os.makedirs(out)
        self.out = out
        env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
        self.proc = subprocess.Popen([runner, "--game-dir", self.work, "--out", out, "-"], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, env=env)
        self.t = 0
        self.frame_ms = FRAME
        self.script = list(header)
        self.dumps = {}
        for line in header:
            self.send(line)

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def frame(self, actions=(), dump=None, frame_ms=None):
        """Plays one frame with the actions, answers the report after it. A new frame length is
        sent before this frame's dump, so that streaming and a script file apply it alike."""
        actions = list(actions)
        if frame_ms and not actions:
            actions.append("key f7 up")  # a command at this time to carry the frame change
        for action in actions:
            line = "at %d %s" % (self.t, action)
            self.script.append(line)
            self.send(line)
        if frame_ms:
            self.script.append("frame %d" % frame_ms)
            self.send("frame %d" % frame_ms)
        name = dump or "probe.json"
        if dump:
            self.script.append("at %d dump %s" % (self.t, dump))
        self.send("at %d dump %s" % (self.t, name))
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise RuntimeError("the runner ended early at %d ms" % self.t)
            if line.strip() == "dumped " + name:
                break
        with open(os.path.join(self.out, name)) as f:
            report = json.load(f)
        if dump:
            self.dumps[dump] = report
        self.t += self.frame_ms
        if frame_ms:
            self.frame_ms = frame_ms
        self.report = report
        return report

    def wait(self, what, cond, limit=6000):
        for _ in range(limit):
            if cond(self.report):
                return
            self.frame()
        raise RuntimeError("waited too long for " + what)

    def comment(self, text):
        self.script.append("# " + text)

    # ---- the controls ----
    # One tap per dragon step and shot: a report may lag the game by a frame, and a tap cannot
    # overshoot the way a held key can.
    def step_towards(self, direction):
        if self.pad:
            return self.frame(["joy axis x %d" % (1 if direction == "right" else -1)]), self.frame(["joy axis x 0"])
        return self.frame(["key %s tap" % direction])

    def advance(self, dump=None):
        """Enter, or gamepad button 1, in one frame."""
        return self.frame(["joy button 1 tap" if self.pad else "key enter tap"], dump)

    def move_to(self, column):
        for _ in range(400):
            d = self.report["play"]["dragon"]
            if d["moving"]:
                self.frame()
            elif d["column"] == column:
                return
            else:
                self.step_towards("right" if d["column"] < column else "left")
                self.frame()
        raise RuntimeError("the dragon did not reach column %d" % column)

    def fire(self, dump=None):
        self.wait("the dragon ready", lambda r: not r["play"]["dragon"]["firing"] and not r["play"]["dragon"]["moving"])
        return self.frame(["joy button 0 tap" if self.pad else "key space tap"], dump)

    def finish(self, end_at=None):
        end = self.t + 10 * self.frame_ms if end_at is None else end_at
        self.script.append("end %d" % end)
        self.send("end %d" % end)
        self.proc.stdin.close()
        self.proc.wait(timeout=300)
        code = self.proc.returncode
        shutil.rmtree(self.work, ignore_errors=True)
        return code


def tutorial(r):
    return r["tutorial"]


def enter_tutorial_from_title(p):
    p.comment("The title screen: Tutorial is the second item; a second of fade, then the lesson.")
    p.frame()
    if p.pad:
        p.frame(["joy axis y 1"])
        p.wait("Tutorial selected", lambda r: r["title"]["selection"] == 1)
        p.frame(["joy axis y 0"])
        p.frame()
        p.frame(["joy button 0 tap"])
    else:
        p.frame(["key down tap"])
        p.frame(["key enter tap"])
    p.wait("the tutorial", lambda r: r["state"] == "tutorial")


def through_boxes(p, to_step):
    while tutorial(p.report)["step"] < to_step:
        p.wait("a box", lambda r: tutorial(r)["showLesson"])
        step = tutorial(p.report)["step"]
        p.advance()
        p.wait("step %d" % (step + 1), lambda r: tutorial(r)["step"] == step + 1)
        p.frame()


LESSONS = [  # target, miss column, hit column, step after the hit
    (0, 5, 3, 4),
    (1, 16, 17, 7),
    (2, 12, 13, 9),
    (3, 8, 7, 10),
]
COLOUR_NAMES = ["blue", "red", "green", "yellow"]


def lesson(p, target, miss, hit, with_miss, prefix):
    name = COLOUR_NAMES[target]
    if with_miss:
        p.comment("The %s lesson: a miss from column %d is taken back and %s handed over again." % (name, miss, name))
        p.move_to(miss)
        p.fire()
        p.frame()
        p.frame(dump="%s%s_miss.json" % (prefix, name))
        p.advance()
        p.frame()
        p.frame(dump="%s%s_after_miss_box.json" % (prefix, name))
    p.comment("The %s hit from column %d; shooting stays locked until its burn or bonus item is done." % (name, hit))
    p.move_to(hit)
    p.fire()
    p.frame()
    p.frame(dump="%s%s_hit.json" % (prefix, name))
    p.wait("the %s trigger" % name, lambda r: tutorial(r)["canShoot"] or r["play"]["gameOver"])
    p.frame()
    p.frame(dump="%s%s_trigger.json" % (prefix, name))


def top_orbs(board):
    tops = {}
    for o in board:
        if o["destroyed"]:
            continue
        if o["column"] not in tops or o["row"] > tops[o["column"]]["row"]:
            tops[o["column"]] = o
    return tops


def group_size(board, start):
    cells = {(o["column"], o["row"]): o["type"] for o in board if not o["destroyed"]}
    kind = cells[(start["column"], start["row"])]
    seen, todo = set(), [(start["column"], start["row"])]
    while todo:
        c = todo.pop()
        if c in seen or cells.get(c) != kind:
            continue
        seen.add(c)
        x, y = c
        todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    return len(seen)


def choose_column(play):
    board = play["board"]
    tops = top_orbs(board)
    kind = play["current"]["type"]
    empty = [c for c in range(19) if c not in tops]
    if kind == FIREBALL:
        blacks = [c for c, o in tops.items() if o["type"] in (7, 8)]
        return (blacks or empty or [9])[0]
    best, best_size = None, 0
    for c, o in tops.items():
        if o["type"] == kind:
            size = group_size(board, o)
            if size > best_size:
                best, best_size = c, size
    if best is not None:
        return best
    return empty[0] if empty else 9


def clear_board(p, limit=6000):
    p.comment("Free play: clear the board, one settled shot at a time.")
    for _ in range(limit):
        play = p.report["play"]
        if play["levelComplete"] or play["gameOver"]:
            return
        settled = not play["moving"] and not any(o["destroyed"] for o in play["board"]) and not play["bonusItems"]
        if not settled:
            p.frame()
            continue
        column = choose_column(play)
        if os.environ.get("KW_RECORD_VERBOSE"):
            cells = sorted((o["column"], o["row"], o["type"]) for o in play["board"])
            print(p.t, "shoot", play["current"]["type"], "at", column, "score", play["score"], cells, file=sys.stderr)
        p.move_to(column)
        p.fire()
        p.frame()
        p.frame()
    raise RuntimeError("the board was not cleared")


def record_full(runner, game_dir, pad):
    prefix = "pad_" if pad else ""
    header = ["# The whole tutorial as a new player plays it%s: every box with %s, a miss at each lesson"
              % (" with the gamepad only" if pad else "", "button 1" if pad else "Enter"),
              "# shot, the hits from columns 3, 17, 13 and 7, free play to a cleared board, then the game.",
              "# Written by tutorial_record.py.", "frame %d" % FRAME, "clock 12:00:00"]
    if pad:
        header.append("joystick")
    p = Player(runner, game_dir, pad, header)
    enter_tutorial_from_title(p)
    p.frame(dump=prefix + "start.json")
    through_boxes(p, 3)
    for target, miss, hit, _ in LESSONS:
        lesson(p, target, miss, hit, True, prefix)
        if target == 0:
            through_boxes(p, 6)
        elif target == 1:
            through_boxes(p, 8)
    p.comment("Boxes 10 to 13, then free play.")
    through_boxes(p, 14)
    p.frame()
    p.frame(dump=prefix + "free_play.json")
    clear_board(p)
    p.frame()
    p.frame(dump=prefix + "cleared.json")
    p.comment("Enter while Level Complete fades in does nothing; then the game starts at the level reached.")
    p.advance()
    p.frame()
    p.frame(dump=prefix + "enter_after_clear.json")
    p.wait("the play state", lambda r: r["state"] == "play")
    p.frame()
    p.frame(dump=prefix + "play.json")
    return p


def record_gameover(runner, game_dir):
    header = ["# A shot in free play is not judged, and once the board is lost Enter does nothing.",
              "# Written by tutorial_record.py.", "frame %d" % FRAME, "clock 12:00:00"]
    p = Player(runner, game_dir, False, header)
    enter_tutorial_from_title(p)
    through_boxes(p, 3)
    for target, miss, hit, _ in LESSONS:
        lesson(p, target, miss, hit, False, "")
        if target == 0:
            through_boxes(p, 6)
        elif target == 1:
            through_boxes(p, 8)
    through_boxes(p, 14)
    p.comment("Free play: a shot into an empty column is the player's own, judged by nothing.")
    p.move_to(9)
    p.fire()
    p.frame()
    p.frame(dump="free_shot.json")
    p.comment("Let the board rise to the dragon, in long frames.")
    p.frame(frame_ms=250)
    p.wait("the game over", lambda r: r["play"]["gameOver"], limit=4000)
    p.frame()
    p.frame(dump="game_over.json")
    p.advance()
    p.frame()
    p.frame(dump="enter_after_game_over.json")
    return p


def expected_subset(report, keys):
    """The parts of a report an expected file pins down."""
    out = {}
    for k in keys:
        cur_in, cur_out = report, out
        parts = k.split(".")
        for part in parts[:-1]:
            cur_in = cur_in[part]
            cur_out = cur_out.setdefault(part, {})
        cur_out[parts[-1]] = cur_in[parts[-1]]
    return out


def write(out_dir, name, p, checks, setup=None):
    code = p.finish()
    with open(os.path.join(out_dir, name + ".kws"), "w") as f:
        f.write("\n".join(p.script) + "\n")
    expected = {"exit": 0, "reports": {}}
    if setup:
        expected["setup"] = setup
    for dump, keys in checks.items():
        expected["reports"][dump] = expected_subset(p.dumps[dump], keys)
    with open(os.path.join(out_dir, name + ".expected.json"), "w") as f:
        json.dump(expected, f, indent=2)
        f.write("\n")
    print(name, "exit", code, "ends at", p.t, "ms")


LESSON_KEYS = ["state", "tutorial.step", "tutorial.showLesson", "tutorial.canShoot", "tutorial.targetHit",
               "play.current.type"]


def full_checks(prefix):
    checks = {prefix + "start.json": ["state", "tutorial", "play.current.type", "play.next.type", "play.levelIntro",
                                      "play.cloudsOn", "currentLevel", "highestLevel"]}
    for name in COLOUR_NAMES:
        for what in ("miss", "after_miss_box", "hit", "trigger"):
            checks["%s%s_%s.json" % (prefix, name, what)] = LESSON_KEYS
    checks[prefix + "free_play.json"] = ["tutorial"]
    checks[prefix + "cleared.json"] = ["state", "tutorial.step", "play.levelComplete"]
    checks[prefix + "enter_after_clear.json"] = ["state", "tutorial.step", "play.levelComplete"]
    checks[prefix + "play.json"] = ["state", "tutorial", "currentLevel", "highestLevel", "play.levelIntro",
                                    "play.score"]
    return checks


SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SETUP_GAME_DAT = "3\r\n80\r\n80\r\n"

if __name__ == "__main__":
    runner, game_dir, out_dir = sys.argv[1:4]
    wanted = sys.argv[4:] or ["tutorial_keyboard", "tutorial_gamepad", "tutorial_enter_ignored"]
    setup = {"game.dat": SETUP_GAME_DAT}
    if "tutorial_keyboard" in wanted:
        write(out_dir, "tutorial_keyboard", record_full(runner, game_dir, False), full_checks(""), setup)
    if "tutorial_gamepad" in wanted:
        write(out_dir, "tutorial_gamepad", record_full(runner, game_dir, True), full_checks("pad_"), setup)
    if "tutorial_enter_ignored" in wanted:
        write(out_dir, "tutorial_enter_ignored", record_gameover(runner, game_dir),
              {"free_shot.json": ["tutorial"], "game_over.json": ["state", "tutorial", "play.gameOver"],
               "enter_after_game_over.json": ["state", "tutorial", "play.gameOver"]}, setup)
