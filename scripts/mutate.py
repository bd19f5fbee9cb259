#!/usr/bin/env python3
"""Puts plausible faults into src/ one at a time and tells which of them the fast tests catch.

    scripts/mutate.py [BUILD_DIR]        every fault (BUILD_DIR defaults to build)
    scripts/mutate.py BUILD_DIR 3 17     only faults 3 and 17
    scripts/mutate.py --list             the faults, numbered

For each fault the script replaces one exact snippet of one source file, rebuilds the build
directory incrementally, runs `ctest -L fast` there, and puts the file back, also after Ctrl-C or
a failed build. A snippet that is not found exactly once is reported as an error, not as a
survivor; so is a fault that does not compile. The exit status is 0 when there was no error and
at least 90 % of the faults were caught.
"""

import os
import pathlib
import signal
import subprocess
import sys
import time

TOP = pathlib.Path(__file__).resolve().parents[1]
REQUIRED_SHARE = 0.9

# (file under src/, exact original snippet, replacement, what a player would notice)
FAULTS = [
    ("framework/CTimer.cpp",
     "const float fNow = static_cast<float>(SDL_GetTicks()) / 1000.0f;",
     "const float fNow = static_cast<float>(SDL_GetTicks()) / 100.0f;",
     "the frame timer counts ticks / 100: everything runs ten times too fast"),
    ("playfield/CApple.cpp",
     "const float FALL_SPEED = 20.0f;   // pixels per second",
     "const float FALL_SPEED = 25.0f;   // pixels per second",
     "apples fall 25 instead of 20 pixels a second"),
    ("playfield/CApple.cpp",
     "        m_fAnimPhase -= ANIM_FRAMES;",
     "        m_fAnimPhase = 0.0f;",
     "the apple animation restarts at frame 0 instead of wrapping"),
    ("playfield/CApple.cpp",
     "    if (m_fYPos > BOTTOM_LINE) {\n        m_bAlive = false;",
     "    if (m_fYPos >= BOTTOM_LINE) {\n        m_bAlive = false;",
     "an apple at exactly y 590 counts as fallen out"),
    ("playfield/CApple.cpp",
     "    m_iTextOffsetX = (APPLE_BOX - iWidth) / 2;",
     "    m_iTextOffsetX = (APPLE_BOX - iHeight) / 2;",
     "the task text is centred with its height instead of its width"),
    ("playfield/CApple.cpp",
     'SDL_snprintf(szTask, sizeof(szTask), "%d : %d", a * b, a);',
     'SDL_snprintf(szTask, sizeof(szTask), "%d : %d", a * b, b);',
     "a division task shows the factor that is its answer"),
    ("playfield/CApple.cpp",
     "? iRange : 10;",
     "? iRange : 20;",
     "an unknown range falls back to 20 instead of 10"),
    ("playfield/CApple.cpp",
     "const int a = std::rand() % m_iRange + 1;",
     "const int a = std::rand() % m_iRange;",
     "the first factor can be 0 and never reaches the range"),
    ("playfield/CBonus.cpp",
     "const float FALL_SPEED = 20.0f;   // pixels per second, as an apple falls",
     "const float FALL_SPEED = 40.0f;   // pixels per second, as an apple falls",
     "points badges fall twice as fast"),
    ("playfield/CBonus.cpp",
     "        m_fAge += dt;",
     "        m_fAge += dt / 2;",
     "badges age at half speed and stay two seconds"),
    ("playfield/CGamePlay.cpp",
     "const float BADGE_LIFETIME = 1.0f; // seconds",
     "const float BADGE_LIFETIME = 1.5f; // seconds",
     "badges are shown for one and a half seconds"),
    ("playfield/CGamePlay.cpp",
     "const int SPAWN_X_CHOICES = 736;",
     "const int SPAWN_X_CHOICES = 800;",
     "apples can start partly outside the right edge"),
    ("playfield/CGamePlay.cpp",
     "const float SPAWN_Y = -60.0f;",
     "const float SPAWN_Y = 0.0f;",
     "apples appear inside the field instead of above it"),
    ("playfield/CGamePlay.cpp",
     "const int POINTS_PER_STEP = 100;",
     "const int POINTS_PER_STEP = 10;",
     "a solved apple is worth 10 to 50 points"),
    ("playfield/CGamePlay.cpp",
     "const int HIT_BADGE = 5;",
     "const int HIT_BADGE = 4;",
     "an apple landing on a horse shows the 500-points badge"),
    ("playfield/CGamePlay.cpp",
     "const float ACCEL_PERIOD = 90.0f;",
     "const float ACCEL_PERIOD = 60.0f;",
     "apples come faster every 60 instead of 90 seconds"),
    ("playfield/CGamePlay.cpp",
     "const float ACCEL_LIMIT = 1.0f;",
     "const float ACCEL_LIMIT = 0.5f;",
     "the spawn interval shrinks to 0"),
    ("playfield/CGamePlay.cpp",
     "    // Time past the interval is dropped.\n    m_fSpawnTimer = 0.0f;",
     "    m_fSpawnTimer -= m_fSpawnInterval;",
     "time past the spawn interval is carried over"),
    ("playfield/CGamePlay.cpp",
     "CMySound::Get()->Play(SOUND_SUCCESS);",
     "CMySound::Get()->Play(SOUND_BOING);",
     "a solved apple plays the boing instead of the success sound"),
    ("playfield/CGamePlay.cpp",
     "    if (bAnyHit) {\n        CMySound::Get()->Play(SOUND_BOING);",
     "    if (bAnyHit) {\n        CMySound::Get()->Play(SOUND_FAIL);",
     "an apple landing on a horse plays the fail sound"),
    ("playfield/CGamePlay.cpp",
     "if (iOut != HORSES_IN_GAME) {",
     "if (iOut < 1) {",
     "the game ends when one horse is out"),
    ("playfield/CGamePlay.cpp",
     'const char* const NAMELESS_PLAYER = "noname";',
     'const char* const NAMELESS_PLAYER = "Spieler";',
     "a nameless player is stored under another name"),
    ("playfield/CGamePlay.cpp",
     "if (it->m_iSolution < 0 || it->m_iSolution != iAnswer) {",
     "if (it->m_iSolution != iAnswer) {",
     "an answer can solve an apple whose task is not drawn yet (-1)"),
    ("playfield/CGamePlay.cpp",
     "m_pWitch->m_fFrame = WITCH_CASTING;",
     "m_pWitch->m_fFrame = 1.0f;",
     "the witch does not strike after a right answer"),
    ("playfield/CHorse.cpp",
     "const int BLIND_WIDTH = 70;",
     "const int BLIND_WIDTH = 60;",
     "the horses catch apples 10 pixels further into the middle"),
    ("playfield/CHorse.cpp",
     "const int MAX_HITS = 3;",
     "const int MAX_HITS = 4;",
     "a horse takes four hits"),
    ("playfield/CHorse.cpp",
     "return ay > hy + 1 && ay <= hy + APPLE_SIZE",
     "return ay >= hy + 1 && ay <= hy + APPLE_SIZE",
     "an apple one pixel above the catch band hits the horse"),
    ("playfield/CHorse.cpp",
     "const int BOTTOM_MARGIN = 5;",
     "const int BOTTOM_MARGIN = 0;",
     "the horses stand on the bottom edge"),
    ("playfield/CHorse.cpp",
     "const int EDGE_MARGIN = 10;",
     "const int EDGE_MARGIN = 0;",
     "the horses touch the side edges"),
    ("playfield/CWitchey.cpp",
     "const double CASTING_SECONDS = 0.7;",
     "const double CASTING_SECONDS = 0.5;",
     "the lightning lasts half a second"),
    ("playfield/CWitchey.cpp",
     "const int BOLT_LINES = 7;",
     "const int BOLT_LINES = 5;",
     "a bolt has five lines"),
    ("playfield/CWitchey.cpp",
     "const int iGreen = (i % 2 == 0) ? 255 : 0;",
     "const int iGreen = (i % 2 == 0) ? 0 : 255;",
     "a bolt starts red instead of yellow"),
    ("playfield/CWitchey.cpp",
     "const float EYES_SECONDS = 0.5f;",
     "const float EYES_SECONDS = 1.0f;",
     "the witch's eyes picture lasts a whole second"),
    ("playfield/CWitchey.cpp",
     "const float WITCH_X = 314.0f;",
     "const float WITCH_X = 300.0f;",
     "the witch stands 14 pixels too far left"),
    ("playfield/CWitchey.cpp",
     "const Uint8 FLASH_ALPHA = 146;",
     "const Uint8 FLASH_ALPHA = 200;",
     "the flash is nearly opaque"),
    ("game/CGame.cpp",
     "const Uint8 HELP_BACK_ALPHA = 180;",
     "const Uint8 HELP_BACK_ALPHA = 220;",
     "the help page's backing hides the scene"),
    ("game/CGame.cpp",
     "const float FIRST_SPAWN_TIMER = 10.5f;",
     "const float FIRST_SPAWN_TIMER = 0.0f;",
     "the first game shows its first apple only after 3.5 seconds"),
    ("game/CGame.cpp",
     "const float START_SPAWN_INTERVAL = 3.5f;",
     "const float START_SPAWN_INTERVAL = 3.0f;",
     "a game starts with an apple every 3 seconds"),
    ("game/CGame.cpp",
     "const int GAMEOVER_SCORE_X = 346;",
     "const int GAMEOVER_SCORE_X = 364;",
     "the final score stands off its place on the game-over page"),
    ("game/CGame.cpp",
     "    m_fSpawnTimer = 0.0f;\n    for (CApple& apple : m_Apples) {",
     "    m_fSpawnTimer = FIRST_SPAWN_TIMER;\n    for (CApple& apple : m_Apples) {",
     "a game after a reset shows an apple at once"),
    ("game/CGameDisplay.cpp",
     '"%010d"',
     '"%09d"',
     "the score is drawn with nine digits"),
    ("game/CGameDisplay.cpp",
     "const int LIVES_RIGHT_X = 457;",
     "const int LIVES_RIGHT_X = 475;",
     "the right horse's lives stand off their place"),
    ("game/CGameDisplay.cpp",
     "m_pLivesSprite->Render(static_cast<float>(horse.m_iHits));",
     "m_pLivesSprite->Render(static_cast<float>(horse.m_iHits > 0 ? horse.m_iHits - 1 : 0));",
     "the lives show one hit too few"),
    ("game/CGameDisplay.cpp",
     "const int TABLE_ROW_STEP = 20;",
     "const int TABLE_ROW_STEP = 18;",
     "the rows of the best three stand too close"),
    ("game/CGameDisplay.cpp",
     "const int TABLE_HELP_X = 403;",
     "const int TABLE_HELP_X = 430;",
     "the best three stand off their place on the help page"),
    ("game/CGameEvents.cpp",
     "game.m_iRange = 20;",
     "game.m_iRange = 99;",
     "F10 chooses factors up to 99 instead of 20"),
    ("media/CSprite.cpp",
     "        const int y = iRawHeight < 0 ? i : h - 1 - i;",
     "        const int y = i;",
     "every picture is drawn upside down"),
    ("media/CSprite.cpp",
     "pRow + i * pFrom->pitch,",
     "pRow + i * pTo->pitch,",
     "the frames of a sheet and the pieces of the help backing come out sheared"),
    ("media/CSprite.cpp",
     "                SDL_SetColorKey(pFrame, SDL_TRUE, uKey);\n",
     "",
     "apples, horses and the witch stand in magenta boxes"),
    ("media/CSprite.cpp",
     "the sheet is let go.\n    SDL_FreeSurface(m_pImage);\n    m_pImage = nullptr;",
     "the sheet is let go.",
     "every sheet is held twice: as a whole and as its frames"),
    ("media/CSprite.cpp",
     "SDL_Rect dest{m_Rect.x + piece.iX, m_Rect.y + piece.iY, 0, 0};",
     "SDL_Rect dest{m_Rect.x + piece.iX, m_Rect.y, 0, 0};",
     "the help backing's shadow is drawn in pieces at the page's top"),
    ("media/CSprite.cpp",
     "                rects[open[k]].h += h;",
     "                rects[open[k]].h = h;",
     "the help backing's shadow shows only its last rows beside the page"),
    ("media/CSprite.cpp",
     "        SDL_SetColorKey(pPiece, SDL_TRUE, uKey);\n",
     "",
     "the help backing's shadow fills its rounded corners"),
    ("media/CMySound.cpp",
     "Mix_PlayMusic(m_pMusic, -1);",
     "Mix_PlayMusic(m_pMusic, 0);",
     "the music plays once instead of looping"),
    ("scorestore/CDBConnection.cpp",
     'constexpr char DETAIL_WRITE[] = "Kann Highscore nicht schreiben";',
     'constexpr char DETAIL_WRITE[] = "Kann Highscore nicht speichern";',
     "a failed store is reported with another text"),
    ("scorestore/CDBConnection.cpp",
     "order by score desc limit 3;",
     "order by score asc limit 3;",
     "the table lists the three worst games"),
    ("scorestore/CDBConnection.cpp",
     '":   %07d"',
     '":  %07d"',
     "the stored scores are listed with two blanks instead of three"),
    ("scorestore/CDBConnection.cpp",
     "(c >= '0' && c <= '9') || c == ' ';",
     "(c >= '0' && c <= '9');",
     "blanks are removed from stored names"),
    ("scorestore/CDBConnection.cpp",
     "order by score desc limit 3;",
     "order by score desc limit 5;",
     "the table lists five games"),
    ("playfield/CApple.cpp",
     "const float ANIM_SPEED = 20.0f;",
     "const float ANIM_SPEED = 10.0f;",
     "apples turn at half speed"),
    ("playfield/CHorse.cpp",
     "    m_iHits = 0;\n    m_bAlive = true;",
     "    m_iHits = 0;",
     "a new game keeps the horses that were out"),
    ("playfield/CWitchey.cpp",
     "const float FLASH_X = 364.0f;",
     "const float FLASH_X = 374.0f;",
     "the flash lies beside the start of the bolts"),
    ("game/CGame.cpp",
     "const float HELP_X = 100.0f;",
     "const float HELP_X = 110.0f;",
     "the help page stands off the middle"),
    ("game/CGame.cpp",
     "    m_Bonuses.clear();",
     "",
     "the badges of the last game fall on in the next"),
    ("game/CGameDisplay.cpp",
     "const int PLAYER_NAME_X = 520;",
     "const int PLAYER_NAME_X = 530;",
     "the typed name stands off its field"),
    ("game/CGameDisplay.cpp",
     "const int TABLE_NAME_X = 19;",
     "const int TABLE_NAME_X = 29;",
     "the names of the best three stand off their column"),
    ("media/CMySound.cpp",
     "Mix_PlayChannelTimed(-1, pChunk, 0, -1);",
     "Mix_PlayChannelTimed(-1, pChunk, 1, -1);",
     "every effect plays twice"),
    ("game/CGame.cpp",
     "    if (m_iState == STATE_START) {\n        RecordGameBegins(*this);",
     "    if (m_iState != STATE_PLAY) {\n        RecordGameBegins(*this);",
     "F5 on the game-over page makes a second game in the learning record"),
    ("playfield/CApple.cpp",
     "        RecordApple(*this, OUTCOME_FELL);",
     "        RecordApple(*this, OUTCOME_LANDED);",
     "an apple that fell out between the horses is recorded as landed"),
    ("playfield/CGamePlay.cpp",
     "        RecordMiss();\n",
     "",
     "answers that solved nothing are not counted in the learning record"),
    ("record/RecordTask.cpp",
     "        apple.iFactA = iLeft / iRight;",
     "        apple.iFactA = iLeft;",
     "a division 56 : 8 is recorded as the fact 56 x 8, not 7 x 8"),
    ("record/RecordTask.cpp",
     "const float FALL_SPEED = 20.0f; // pixels per second",
     "const float FALL_SPEED = 10.0f; // pixels per second",
     "the report's times are twice the time the apples were in the air"),
    ("record/CRecordFile.cpp",
     '"PRAGMA secure_delete = ON"',
     '"PRAGMA secure_delete = OFF"',
     "a forgotten player's name stays readable in the record file"),
    ("record/ReportRules.cpp",
     "    const bool bMissedLately = judgement.iRecentSolved < judgement.iRecent;",
     "    const bool bMissedLately = judgement.iSolved < judgement.iAttempts;",
     "a fact missed long ago needs practice for ever"),
    ("record/ReportRules.cpp",
     "    if (!strField.empty() && std::string(\"=+-@\\t\\r\").find(strField[0])",
     "    if (!strField.empty() && std::string(\"=+@\\t\\r\").find(strField[0])",
     "a CSV field starting with - runs as a formula in a spreadsheet"),
    ("record/ReportRules.cpp",
     "            strEscaped += \"&lt;\";",
     "            strEscaped += \"<\";",
     "a name with <script> in it is markup in the report's page"),
]


class Interrupted(Exception):
    pass


def on_signal(signum, frame):
    raise Interrupted("signal %d" % signum)


def run(cmd, cwd, timeout):
    """True when the command succeeds; its output is dropped."""
    try:
        return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def build(build_dir):
    return run(["cmake", "--build", str(build_dir), "-j", "2"], TOP, 1800)


def fast_tests_pass(build_dir):
    return run(["ctest", "-L", "fast", "-j", "2", "--stop-on-failure", "--timeout", "120"],
               build_dir, 900)


def snippet_error(fault):
    path, original = TOP / "src" / fault[0], fault[1]
    if not path.is_file():
        return "no such file"
    count = path.read_text(encoding="utf-8").count(original)
    return None if count == 1 else "snippet found %d times" % count


def restore_left_over(backup_dir):
    """Puts back a file that an earlier run, killed hard, left mutated."""
    for saved in sorted(backup_dir.glob("*")):
        target = TOP / "src" / saved.name.replace("__", "/")
        target.write_bytes(saved.read_bytes())
        saved.unlink()
        print("restored %s left mutated by an earlier run" % target.relative_to(TOP))


def try_fault(fault, build_dir, backup_dir):
    """'caught', 'survived' or an error text."""
    error = snippet_error(fault)
    if error:
        return error
    path = TOP / "src" / fault[0]
    original = path.read_bytes()
    saved = backup_dir / fault[0].replace("/", "__")
    saved.write_bytes(original)
    try:
        text = original.decode("utf-8")
        path.write_text(text.replace(fault[1], fault[2], 1), encoding="utf-8")
        if not build(build_dir):
            return "does not compile"
        return "survived" if fast_tests_pass(build_dir) else "caught"
    finally:
        path.write_bytes(original)
        saved.unlink()


def main():
    args = sys.argv[1:]
    if args[:1] == ["--list"]:
        for number, fault in enumerate(FAULTS, 1):
            print("%2d  %-30s %s" % (number, fault[0], fault[3]))
        return 0
    build_dir = pathlib.Path(args[0] if args else "build").resolve()
    chosen = [int(a) for a in args[1:]] or list(range(1, len(FAULTS) + 1))
    backup_dir = build_dir / "mutate-backup"
    backup_dir.mkdir(parents=True, exist_ok=True)
    for signum in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, on_signal)

    restore_left_over(backup_dir)
    if not build(build_dir) or not fast_tests_pass(build_dir):
        print("the unchanged sources do not build or pass `ctest -L fast` in %s" % build_dir)
        return 2

    results = {}
    try:
        for number in chosen:
            fault = FAULTS[number - 1]
            start = time.monotonic()
            results[number] = try_fault(fault, build_dir, backup_dir)
            print("%2d  %-9s %-30s %s  (%.0f s)" % (number, results[number][:9], fault[0],
                                                    fault[3], time.monotonic() - start),
                  flush=True)
            if results[number] not in ("caught", "survived"):
                print("    error: %s" % results[number], flush=True)
    except (KeyboardInterrupt, Interrupted):
        print("\ninterrupted; the sources are restored")
    finally:
        build(build_dir)  # leave the build matching the restored sources

    caught = sum(1 for r in results.values() if r == "caught")
    survived = [n for n, r in results.items() if r == "survived"]
    errors = [n for n, r in results.items() if r not in ("caught", "survived")]
    judged = caught + len(survived)
    share = caught / judged if judged else 0.0
    print("\nscore: %d of %d faults caught (%.1f %%)" % (caught, judged, 100 * share))
    if survived:
        print("survived: %s" % " ".join(map(str, survived)))
    if errors:
        print("errors (not judged): %s" % " ".join(map(str, errors)))
    return 0 if not errors and share >= REQUIRED_SHARE and len(results) == len(chosen) else 1


if __name__ == "__main__":
    sys.exit(main())
