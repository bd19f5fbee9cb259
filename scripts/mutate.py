#!/usr/bin/env python3
"""Puts single faults into src/ one at a time and tells which of them the tests catch.

    scripts/mutate.py [BUILD_DIR]             the generated sample (BUILD_DIR defaults to build)
    scripts/mutate.py BUILD_DIR --set chosen  the hand-written faults instead
    scripts/mutate.py BUILD_DIR --only 3 17   only mutants 3 and 17 of the set
    scripts/mutate.py --list [--set chosen]   the mutants, numbered
    scripts/mutate.py BUILD_DIR --fast-only   the fast suites alone; a later run without this
                                              option gives what they missed to the others

The generated set is drawn mechanically: every place in src/ where an operator applies makes a
candidate (a comparison or arithmetic operator flipped, a number changed by one or to 0, a
condition negated, a call statement deleted, one character of a string literal changed), and a
sample of SAMPLE of them is drawn with a fixed seed. Mutants that change nothing a program could
observe are listed in EQUIVALENT, each with the reason found by reading it; they are not run.

For each mutant the script edits one line of one file, rebuilds the build directory
incrementally, runs the fast suites (`ctest -L fast`) and, when they miss it, every other suite
(`ctest -LE fast`, the longest started first); then it puts the file back, also after Ctrl-C or a failed build. A mutant
that does not compile is reported as stillborn and not counted. Results are kept in
BUILD_DIR/mutate-<set>.json, so an interrupted run goes on where it stopped. The faults go into
the tree the script lies in: run it from a worktree of its own while you work in another.
"""

import json
import os
import pathlib
import random
import re
import signal
import subprocess
import sys

TOP = pathlib.Path(__file__).resolve().parents[1]
SRC = TOP / "src"
SAMPLE = 150
SEED = 20261207

COMPARISON = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*", "%": "*", "+=": "-=", "-=": "+=",
              "*=": "/=", "/=": "*="}
STRING = re.compile(r'"(?:\\.|[^"\\])*"')
OPERATOR = re.compile(r"(?<= )(<=|>=|==|!=|<|>|\+=|-=|\*=|/=|\+|-|\*|/|%)(?= )")
NUMBER = re.compile(r"(?<![\w.])(\d+(?:\.\d*)?)(f?)(?![\w.])")
CONDITION = re.compile(r"\b(if|while) \(")
CALL = re.compile(r"^[A-Za-z_][\w:]*(?:(?:->|\.|::)[A-Za-z_]\w*)*(?:<[\w:, *]*>)?\(.*\);$")

# Mutants that no program could tell from the original, by reading them. Key: file, the line
# before and the line after, stripped.
EQUIVALENT = {
    'framework/CFramework.cpp|CURSOR_HAND = 2,|CURSOR_HAND = 1,':
        'another non-zero failure code: set-up fails the same, and the code is never shown',
    'framework/CFramework.cpp|m_pKeystate(nullptr), m_DesktopRect{0, 0, 0, 0}, m_StartButtonRect{0, 0, 0, 0},|m_pKeystate(nullptr), m_DesktopRect{-1, 0, 0, 0}, m_StartButtonRect{0, 0, 0, 0},':
        'the desktop rectangle is set again by the window-size step of Init before any use',
    'framework/CFramework.cpp|m_pKeystate(nullptr), m_DesktopRect{0, 0, 0, 0}, m_StartButtonRect{0, 0, 0, 0},|m_pKeystate(nullptr), m_DesktopRect{0, 0, 0, 1}, m_StartButtonRect{0, 0, 0, 0},':
        'the desktop rectangle is set again by the window-size step of Init before any use',
    'framework/CFramework.cpp|m_StartButtonRect = SDL_Rect{0, 0, 0, 0};|m_StartButtonRect = SDL_Rect{0, 0, 1, 0};':
        'a rectangle of height 0 holds no point strictly inside, as the all-zero one',
    'framework/CFramework.cpp|SDL_DestroyWindow(m_pWindow);|;':
        'SDL_Quit destroys the window that is left',
    'game/CGame.cpp|m_fSpawnInterval(0.0f), m_fAccelTimer(0.0f), m_iScore(0), m_pScoreText(nullptr),|m_fSpawnInterval(0.0f), m_fAccelTimer(0.0f), m_iScore(-1), m_pScoreText(nullptr),':
        'Init sets the score to 0 before any use',
    'game/CGameDisplay.cpp|SDL_Rect dest{x, y, 0, 0};|SDL_Rect dest{x, y, 1, 0};':
        'a blit takes its size from the source, not from the destination rectangle',
    'game/Utf8Text.cpp|while (cut > 0 && steps < MAX_SEQUENCE - 1 &&|while (cut > 0 && steps < MAX_SEQUENCE + 1 &&':
        'the name holds whole UTF-8 characters (text input and Backspace keep it so): at most three continuation bytes precede a lead byte',
    'media/CMySound.cpp|char szTag[4] = {0, 0, 0, 0};|char szTag[4] = {0, -1, 0, 0};':
        'the tag is read over before it is compared',
    'media/CSprite.cpp|m_pImage(nullptr), m_Rect{0, 0, 0, 0}, m_FrameRect{0, 0, 0, 0}, m_iNumFrames(0),|m_pImage(nullptr), m_Rect{0, 0, 0, 1}, m_FrameRect{0, 0, 0, 0}, m_iNumFrames(0),':
        'Load sets the rectangle before the sprite is drawn',
    'media/CSprite.cpp|m_pImage(nullptr), m_Rect{0, 0, 0, 0}, m_FrameRect{0, 0, 0, 0}, m_iNumFrames(0),|m_pImage(nullptr), m_Rect{1, 0, 0, 0}, m_FrameRect{0, 0, 0, 0}, m_iNumFrames(0),':
        'Load sets the rectangle before the sprite is drawn',
    'media/Picture.cpp|iHeight = iHeight < 0 ? -iHeight : iHeight; // negative: rows stored from the top|iHeight = iHeight <= 0 ? -iHeight : iHeight; // negative: rows stored from the top':
        'a height of 0 stays 0 when negated',
    'playfield/CApple.cpp|} else if (iPick % 2 == 0) {|} else if (iPick * 2 == 0) {':
        'the two factors are drawn alike, so which of them is shown makes no task the player could tell apart',
    'playfield/CApple.cpp|m_strTask.clear();|;':
        'the task is drawn into the text right after',
    'playfield/CApple.cpp|m_TextRect = SDL_Rect{0, 0, 0, 0};|m_TextRect = SDL_Rect{1, 0, 0, 0};':
        "Render sets the text rectangle's place before every blit, and the blit its size",
    'playfield/CApple.cpp|int iPick = 0;|int iPick = -1;':
        'a multiplication ignores the pick, and a division draws it',
    'playfield/CApple.cpp|int iHeight = 0;|int iHeight = -1;':
        'the height is written by the measuring before it is read, and not read when measuring fails',
    'playfield/CGamePlay.cpp|ReseedFromClock(1);|;':
        "the generator is drawn from all the same; only the clock's share in its seed goes",
    'playfield/CWitchey.cpp|std::srand(uClock + static_cast<unsigned int>(std::rand() % 65365));|;':
        "the generator is drawn from all the same; only the clock's share in its seed goes",
    'playfield/CWitchey.cpp|ReseedWithDraw();|;':
        "the generator is drawn from all the same; only the clock's share in its seed goes",
    'record/CRecordFile.cpp|apples.clear();|;':
        'the report reads the record once, into empty lists',
    'record/CRecordFile.cpp|game.iScore = sqlite3_column_int(pStatement, 5);|game.iScore = sqlite3_column_int(pStatement, 0);':
        "the reports show no game's score: the column is read but never written out",
    'record/CReportHtml.cpp|".grid th{font-size:12px;font-weight:bold;color:#444;padding:0 4px}\\n"|".grid th{font-size:12px;font-weihht:bold;color:#444;padding:0 4px}\\n"':
        'a table heading is bold by default; the property that is lost changes nothing shown',
    'record/ReportRules.cpp|SJudgement judgement{JUDGED_NEVER, 0, 0, 0, 0, -1.0f};|SJudgement judgement{JUDGED_NEVER, 0, 0, 1, 0, -1.0f};':
        'the count of recent attempts is set from the attempts before it is read',
    'record/CRecordFile.cpp|int iVersion = -1;|int iVersion = -2;':
        '-1 and -2 both differ from 0 and from the schema version, the only values compared',
    'record/RecordCommand.cpp|std::FILE* pFile = std::fopen(commandLine.m_pFile, "wb");|std::FILE* pFile = std::fopen(commandLine.m_pFile, "wc");':
        "glibc reads 'c' in a mode as 'no cancellation point': the file is opened for writing as before",
    'record/RecordTask.cpp|int iLeft = 0;|int iLeft = -1;':
        'sscanf sets the number before it is used, and a task it cannot read is left out',
    'scorestore/CDBConnection.cpp|return 0;|return -1;':
        'the only query asks for two columns: every row comes with two, and this line is never reached',
    'scorestore/CDBConnection.cpp|const char* pText = pError != nullptr ? pError : sqlite3_errmsg(pDB);|const char* pText = pError == nullptr ? pError : sqlite3_errmsg(pDB);':
        "sqlite3_exec's error text is a copy of sqlite3_errmsg, and is always set on a failure but for lack of memory",
}

# Hand-written faults: (file under src/, exact original snippet, replacement, what a player
# would notice).
CHOSEN = [
    ('framework/CTimer.cpp',
     'const float fNow = static_cast<float>(SDL_GetTicks()) / 1000.0f;',
     'const float fNow = static_cast<float>(SDL_GetTicks()) / 100.0f;',
     'the frame timer counts ticks / 100: everything runs ten times too fast'),
    ('playfield/CApple.cpp',
     'const float FALL_SPEED = 20.0f;   // pixels per second',
     'const float FALL_SPEED = 25.0f;   // pixels per second',
     'apples fall 25 instead of 20 pixels a second'),
    ('playfield/CApple.cpp',
     '        m_fAnimPhase -= ANIM_FRAMES;',
     '        m_fAnimPhase = 0.0f;',
     'the apple animation restarts at frame 0 instead of wrapping'),
    ('playfield/CApple.cpp',
     '    if (m_fYPos > BOTTOM_LINE) {\n        m_bAlive = false;',
     '    if (m_fYPos >= BOTTOM_LINE) {\n        m_bAlive = false;',
     'an apple at exactly y 590 counts as fallen out'),
    ('playfield/CApple.cpp',
     '    m_iTextOffsetX = (APPLE_BOX - iWidth) / 2;',
     '    m_iTextOffsetX = (APPLE_BOX - iHeight) / 2;',
     'the task text is centred with its height instead of its width'),
    ('playfield/CApple.cpp',
     'SDL_snprintf(szTask, sizeof(szTask), "%d : %d", a * b, a);',
     'SDL_snprintf(szTask, sizeof(szTask), "%d : %d", a * b, b);',
     'a division task shows the factor that is its answer'),
    ('playfield/CApple.cpp',
     '? iRange : 10;',
     '? iRange : 20;',
     'an unknown range falls back to 20 instead of 10'),
    ('playfield/CApple.cpp',
     'const int a = std::rand() % m_iRange + 1;',
     'const int a = std::rand() % m_iRange;',
     'the first factor can be 0 and never reaches the range'),
    ('playfield/CBonus.cpp',
     'const float FALL_SPEED = 20.0f;   // pixels per second, as an apple falls',
     'const float FALL_SPEED = 40.0f;   // pixels per second, as an apple falls',
     'points badges fall twice as fast'),
    ('playfield/CBonus.cpp',
     '        m_fAge += dt;',
     '        m_fAge += dt / 2;',
     'badges age at half speed and stay two seconds'),
    ('playfield/CGamePlay.cpp',
     'const float BADGE_LIFETIME = 1.0f; // seconds',
     'const float BADGE_LIFETIME = 1.5f; // seconds',
     'badges are shown for one and a half seconds'),
    ('playfield/CGamePlay.cpp',
     'const int SPAWN_X_CHOICES = 736;',
     'const int SPAWN_X_CHOICES = 800;',
     'apples can start partly outside the right edge'),
    ('playfield/CGamePlay.cpp',
     'const float SPAWN_Y = -60.0f;',
     'const float SPAWN_Y = 0.0f;',
     'apples appear inside the field instead of above it'),
    ('playfield/CGamePlay.cpp',
     'const int POINTS_PER_STEP = 100;',
     'const int POINTS_PER_STEP = 10;',
     'a solved apple is worth 10 to 50 points'),
    ('playfield/CGamePlay.cpp',
     'const int HIT_BADGE = 5;',
     'const int HIT_BADGE = 4;',
     'an apple landing on a horse shows the 500-points badge'),
    ('playfield/CGamePlay.cpp',
     'const float ACCEL_PERIOD = 90.0f;',
     'const float ACCEL_PERIOD = 60.0f;',
     'apples come faster every 60 instead of 90 seconds'),
    ('playfield/CGamePlay.cpp',
     'const float ACCEL_LIMIT = 1.0f;',
     'const float ACCEL_LIMIT = 0.5f;',
     'the spawn interval shrinks to 0'),
    ('playfield/CGamePlay.cpp',
     '    // Time past the interval is dropped.\n    m_fSpawnTimer = 0.0f;',
     '    m_fSpawnTimer -= m_fSpawnInterval;',
     'time past the spawn interval is carried over'),
    ('playfield/CGamePlay.cpp',
     'CMySound::Get()->Play(SOUND_SUCCESS);',
     'CMySound::Get()->Play(SOUND_BOING);',
     'a solved apple plays the boing instead of the success sound'),
    ('playfield/CGamePlay.cpp',
     '    if (bAnyHit) {\n        CMySound::Get()->Play(SOUND_BOING);',
     '    if (bAnyHit) {\n        CMySound::Get()->Play(SOUND_FAIL);',
     'an apple landing on a horse plays the fail sound'),
    ('playfield/CGamePlay.cpp',
     'if (iOut != HORSES_IN_GAME) {',
     'if (iOut < 1) {',
     'the game ends when one horse is out'),
    ('playfield/CGamePlay.cpp',
     'const char* const NAMELESS_PLAYER = "noname";',
     'const char* const NAMELESS_PLAYER = "Spieler";',
     'a nameless player is stored under another name'),
    ('playfield/CGamePlay.cpp',
     'if (it->m_iSolution < 0 || it->m_iSolution != iAnswer) {',
     'if (it->m_iSolution != iAnswer) {',
     'an answer can solve an apple whose task is not drawn yet (-1)'),
    ('playfield/CGamePlay.cpp',
     'm_pWitch->m_fFrame = WITCH_CASTING;',
     'm_pWitch->m_fFrame = 1.0f;',
     'the witch does not strike after a right answer'),
    ('playfield/CHorse.cpp',
     'const int BLIND_WIDTH = 70;',
     'const int BLIND_WIDTH = 60;',
     'the horses catch apples 10 pixels further into the middle'),
    ('playfield/CHorse.cpp',
     'const int MAX_HITS = 3;',
     'const int MAX_HITS = 4;',
     'a horse takes four hits'),
    ('playfield/CHorse.cpp',
     'return ay > hy + 1 && ay <= hy + APPLE_SIZE',
     'return ay >= hy + 1 && ay <= hy + APPLE_SIZE',
     'an apple one pixel above the catch band hits the horse'),
    ('playfield/CHorse.cpp',
     'const int BOTTOM_MARGIN = 5;',
     'const int BOTTOM_MARGIN = 0;',
     'the horses stand on the bottom edge'),
    ('playfield/CHorse.cpp',
     'const int EDGE_MARGIN = 10;',
     'const int EDGE_MARGIN = 0;',
     'the horses touch the side edges'),
    ('playfield/CWitchey.cpp',
     'const double CASTING_SECONDS = 0.7;',
     'const double CASTING_SECONDS = 0.5;',
     'the lightning lasts half a second'),
    ('playfield/CWitchey.cpp',
     'const int BOLT_LINES = 7;',
     'const int BOLT_LINES = 5;',
     'a bolt has five lines'),
    ('playfield/CWitchey.cpp',
     'const int iGreen = (i % 2 == 0) ? 255 : 0;',
     'const int iGreen = (i % 2 == 0) ? 0 : 255;',
     'a bolt starts red instead of yellow'),
    ('playfield/CWitchey.cpp',
     'const float EYES_SECONDS = 0.5f;',
     'const float EYES_SECONDS = 1.0f;',
     "the witch's eyes picture lasts a whole second"),
    ('playfield/CWitchey.cpp',
     'const float WITCH_X = 314.0f;',
     'const float WITCH_X = 300.0f;',
     'the witch stands 14 pixels too far left'),
    ('playfield/CWitchey.cpp',
     'const Uint8 FLASH_ALPHA = 146;',
     'const Uint8 FLASH_ALPHA = 200;',
     'the flash is nearly opaque'),
    ('game/CGame.cpp',
     'const Uint8 HELP_BACK_ALPHA = 180;',
     'const Uint8 HELP_BACK_ALPHA = 220;',
     "the help page's backing hides the scene"),
    ('game/CGame.cpp',
     'const float FIRST_SPAWN_TIMER = 10.5f;',
     'const float FIRST_SPAWN_TIMER = 0.0f;',
     'the first game shows its first apple only after 3.5 seconds'),
    ('game/CGame.cpp',
     'const float START_SPAWN_INTERVAL = 3.5f;',
     'const float START_SPAWN_INTERVAL = 3.0f;',
     'a game starts with an apple every 3 seconds'),
    ('game/CGame.cpp',
     'const int GAMEOVER_SCORE_X = 346;',
     'const int GAMEOVER_SCORE_X = 364;',
     'the final score stands off its place on the game-over page'),
    ('game/CGame.cpp',
     '    m_fSpawnTimer = 0.0f;\n    for (CApple& apple : m_Apples) {',
     '    m_fSpawnTimer = FIRST_SPAWN_TIMER;\n    for (CApple& apple : m_Apples) {',
     'a game after a reset shows an apple at once'),
    ('game/CGameDisplay.cpp',
     '"%010d"',
     '"%09d"',
     'the score is drawn with nine digits'),
    ('game/CGameDisplay.cpp',
     'const int LIVES_RIGHT_X = 457;',
     'const int LIVES_RIGHT_X = 475;',
     "the right horse's lives stand off their place"),
    ('game/CGameDisplay.cpp',
     'm_pLivesSprite->Render(static_cast<float>(horse.m_iHits));',
     'm_pLivesSprite->Render(static_cast<float>(horse.m_iHits > 0 ? horse.m_iHits - 1 : 0));',
     'the lives show one hit too few'),
    ('game/CGameDisplay.cpp',
     'const int TABLE_ROW_STEP = 20;',
     'const int TABLE_ROW_STEP = 18;',
     'the rows of the best three stand too close'),
    ('game/CGameDisplay.cpp',
     'const int TABLE_HELP_X = 403;',
     'const int TABLE_HELP_X = 430;',
     'the best three stand off their place on the help page'),
    ('game/CGameEvents.cpp',
     'game.m_iRange = 20;',
     'game.m_iRange = 99;',
     'F10 chooses factors up to 99 instead of 20'),
    ('media/CSprite.cpp',
     '    m_FrameRect.y = (n / m_iNumFramesX) * m_iFrameHeight;',
     '    m_FrameRect.y = (n % m_iNumFramesX) * m_iFrameHeight;',
     'frames of a second row of a sheet come from its first row'),
    ('media/CSprite.cpp',
     'm_iNumFramesX = iFrameWidth > 0 ? m_pImage->w / iFrameWidth : 0;',
     'm_iNumFramesX = iFrameWidth > 0 ? m_pImage->h / iFrameWidth : 0;',
     'the columns of a sheet are counted from its height'),
    ('media/CSprite.cpp',
     '    SDL_SetColorKey(m_pImage, SDL_TRUE, key);\n',
     '',
     'apples, horses and the witch stand in magenta boxes'),
    ('media/Picture.cpp',
     '    return iRowBytes * iHeight <= iData;',
     '    return iRowBytes * iHeight < iData;',
     'a picture that fills its file exactly is refused: no picture loads'),
    ('media/CSprite.cpp',
     '    SDL_SetSurfaceAlphaMod(m_pImage, alpha);',
     '    SDL_SetSurfaceAlphaMod(m_pImage, 255 - alpha);',
     "the help backing and the witch's flash are nearly see-through"),
    ('media/Picture.cpp',
     '    return iRowBytes * iHeight <= iData;\n}',
     '    return true;\n}',
     'a forged picture size is not checked and takes all memory'),
    ('game/CGame.cpp',
     '    m_pBackground = NewPicture(ASSET_BAUM);',
     '    m_pBackground = NewPicture(ASSET_GAMEOVER2);',
     'the play scene shows the game-over page instead of the orchard'),
    ('media/CMySound.cpp',
     'Mix_PlayMusic(m_pMusic, -1);',
     'Mix_PlayMusic(m_pMusic, 0);',
     'the music plays once instead of looping'),
    ('scorestore/CDBConnection.cpp',
     'constexpr char DETAIL_WRITE[] = "Kann Highscore nicht schreiben";',
     'constexpr char DETAIL_WRITE[] = "Kann Highscore nicht speichern";',
     'a failed store is reported with another text'),
    ('scorestore/CDBConnection.cpp',
     'order by score desc limit 3;',
     'order by score asc limit 3;',
     'the table lists the three worst games'),
    ('scorestore/CDBConnection.cpp',
     '":   %07d"',
     '":  %07d"',
     'the stored scores are listed with two blanks instead of three'),
    ('scorestore/CDBConnection.cpp',
     "(c >= '0' && c <= '9') || c == ' ';",
     "(c >= '0' && c <= '9');",
     'blanks are removed from stored names'),
    ('scorestore/CDBConnection.cpp',
     'order by score desc limit 3;',
     'order by score desc limit 5;',
     'the table lists five games'),
    ('playfield/CApple.cpp',
     'const float ANIM_SPEED = 20.0f;',
     'const float ANIM_SPEED = 10.0f;',
     'apples turn at half speed'),
    ('playfield/CHorse.cpp',
     '    m_iHits = 0;\n    m_bAlive = true;',
     '    m_iHits = 0;',
     'a new game keeps the horses that were out'),
    ('playfield/CWitchey.cpp',
     'const float FLASH_X = 364.0f;',
     'const float FLASH_X = 374.0f;',
     'the flash lies beside the start of the bolts'),
    ('game/CGame.cpp',
     'const float HELP_X = 100.0f;',
     'const float HELP_X = 110.0f;',
     'the help page stands off the middle'),
    ('game/CGame.cpp',
     '    m_Bonuses.clear();',
     '',
     'the badges of the last game fall on in the next'),
    ('game/CGameDisplay.cpp',
     'const int PLAYER_NAME_X = 520;',
     'const int PLAYER_NAME_X = 530;',
     'the typed name stands off its field'),
    ('game/CGameDisplay.cpp',
     'const int TABLE_NAME_X = 19;',
     'const int TABLE_NAME_X = 29;',
     'the names of the best three stand off their column'),
    ('media/CMySound.cpp',
     'Mix_PlayChannelTimed(-1, pChunk, 0, -1);',
     'Mix_PlayChannelTimed(-1, pChunk, 1, -1);',
     'every effect plays twice'),
    ('game/CGame.cpp',
     '    if (m_iState == STATE_START) {\n        RecordGameBegins(*this);',
     '    if (m_iState != STATE_PLAY) {\n        RecordGameBegins(*this);',
     'F5 on the game-over page makes a second game in the learning record'),
    ('playfield/CApple.cpp',
     '        RecordApple(*this, OUTCOME_FELL);',
     '        RecordApple(*this, OUTCOME_LANDED);',
     'an apple that fell out between the horses is recorded as landed'),
    ('playfield/CGamePlay.cpp',
     '        RecordMiss();\n',
     '',
     'answers that solved nothing are not counted in the learning record'),
    ('record/RecordTask.cpp',
     '        apple.iFactA = iLeft / iRight;',
     '        apple.iFactA = iLeft;',
     'a division 56 : 8 is recorded as the fact 56 x 8, not 7 x 8'),
    ('record/RecordTask.cpp',
     'const float FALL_SPEED = 20.0f; // pixels per second',
     'const float FALL_SPEED = 10.0f; // pixels per second',
     "the report's times are twice the time the apples were in the air"),
    ('record/CRecordFile.cpp',
     '"PRAGMA secure_delete = ON"',
     '"PRAGMA secure_delete = OFF"',
     "a forgotten player's name stays readable in the record file"),
    ('record/ReportRules.cpp',
     '    const bool bMissedLately = judgement.iRecentSolved < judgement.iRecent;',
     '    const bool bMissedLately = judgement.iSolved < judgement.iAttempts;',
     'a fact missed long ago needs practice for ever'),
    ('record/ReportRules.cpp',
     'std::string("=+-@\\t\\r").find(strField[0])',
     'std::string("=+@\\t\\r").find(strField[0])',
     'a CSV field starting with - runs as a formula in a spreadsheet'),
    ('record/ReportRules.cpp',
     '            strEscaped += "&lt;";',
     '            strEscaped += "<";',
     "a name with <script> in it is markup in the report's page"),
    ('framework/CCommandLine.cpp',
     '    bool bWritten = std::fflush(pOut) == 0 && std::ferror(pOut) == 0;',
     '    bool bWritten = true;\n    std::fflush(pOut);',
     '--help into a full disk ends with status 0'),
]


def masked(line):
    """The line with the insides of string literals blanked and any // comment cut off."""
    code = STRING.sub(lambda m: '"' + " " * (len(m.group()) - 2) + '"', line)
    cut = code.find("//")
    return code if cut < 0 else code[:cut]


def closing(text, start):
    """Index of the parenthesis that closes the one at start, or -1."""
    depth = 0
    for i in range(start, len(text)):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        if depth == 0:
            return i
    return -1


def candidates_of_line(line):
    """(kind, mutated line) for every mutation the line allows."""
    code = masked(line)
    stripped = code.strip()
    if not stripped or stripped.startswith(("#", "static_assert", "*", "/*")):
        return []
    found = []
    for m in OPERATOR.finditer(code):
        table = COMPARISON if m.group(1) in COMPARISON else ARITHMETIC
        found.append(("operator", line[:m.start()] + table[m.group(1)] + line[m.end():]))
    for m in NUMBER.finditer(code):
        digits, suffix = m.group(1), m.group(2)
        value = float(digits) if "." in digits or suffix else int(digits)
        for new in {value + 1, value - 1, 0} - {value}:
            text = repr(float(new)) if isinstance(value, float) else str(new)
            found.append(("number", line[:m.start()] + text + suffix + line[m.end():]))
    for m in CONDITION.finditer(code):
        end = closing(code, m.end() - 1)
        if end > 0:
            found.append(("negate", line[:m.end()] + "!(" + line[m.end():end] + ")" +
                          line[end:]))
    if CALL.match(stripped) and closing(code, code.index("(")) == len(code.rstrip()) - 2:
        found.append(("delete call", line[:len(line) - len(line.lstrip())] + ";"))
    for m in STRING.finditer(line):
        body = m.group()[1:-1]
        plain = [i for i, c in enumerate(body) if c.isalnum() and (i == 0 or body[i - 1] != "\\")]
        if plain:
            i = plain[len(plain) // 2]
            c = body[i]
            new = "0" if c == "9" else "a" if c == "z" else "A" if c == "Z" else chr(ord(c) + 1)
            start = m.start() + 1 + i
            found.append(("string", line[:start] + new + line[start + 1:]))
    return found


def generated():
    """The sample of mechanically made mutants: (file, line number, kind, before, after)."""
    everything = []
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        lines = path.read_text(encoding="utf-8").split("\n")
        for number, line in enumerate(lines, 1):
            for kind, after in candidates_of_line(line):
                everything.append((str(path.relative_to(SRC)), number, kind, line, after))
    sample = random.Random(SEED).sample(everything, min(SAMPLE, len(everything)))
    return sorted(sample, key=lambda m: (m[0], m[1], m[2], m[4]))


def chosen():
    """The hand-written faults in the same form, found by their snippets."""
    faults = []
    for file, snippet, replacement, why in CHOSEN:
        text = (SRC / file).read_text(encoding="utf-8")
        if text.count(snippet) != 1:
            raise SystemExit("%s: snippet found %d times: %r" % (file, text.count(snippet),
                                                                snippet))
        faults.append((file, text[:text.index(snippet)].count("\n") + 1, why, snippet,
                       replacement))
    return faults


def equivalent(mutant):
    return EQUIVALENT.get("|".join((mutant[0], mutant[3].strip(), mutant[4].strip())))


def apply(mutant):
    """Writes the mutant into its file; returns the original text."""
    path = SRC / mutant[0]
    original = path.read_text(encoding="utf-8")
    if mutant[2] in ("operator", "number", "negate", "delete call", "string"):
        lines = original.split("\n")
        assert lines[mutant[1] - 1] == mutant[3], "source moved: %s:%d" % mutant[:2]
        lines[mutant[1] - 1] = mutant[4]
        path.write_text("\n".join(lines), encoding="utf-8")
    else:
        path.write_text(original.replace(mutant[3], mutant[4]), encoding="utf-8")
    return original


def run(cmd, build_dir, timeout):
    """True when the command succeeds; its output is dropped. The command runs in a process
    group of its own, which is killed whole when it overruns or the script is stopped, so that no
    compiler goes on writing an object of the mutant after the source is put back."""
    proc = subprocess.Popen(cmd, cwd=build_dir, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        return proc.wait(timeout) == 0
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        if isinstance(sys.exc_info()[1], subprocess.TimeoutExpired):
            return False
        raise


def judge(mutant, build_dir, slow, fast=True):
    """'fast', 'slow' (the suites that caught it), 'survived', 'not fast' (missed by the fast
    suites when the slower ones were not run) or 'stillborn'."""
    path = SRC / mutant[0]
    original = apply(mutant)
    try:
        if not run(["cmake", "--build", ".", "-j", "2"], build_dir, 1800):
            return "stillborn"
        if fast and not run(["ctest", "-L", "fast", "-j", "2", "--stop-on-failure", "--timeout",
                             "120"], build_dir, 900):
            return "fast"
        if not slow:
            return "not fast"
        if not run(["ctest", "-LE", "fast", "-j", "2", "--stop-on-failure"], build_dir, 3600):
            return "slow"
        return "survived"
    finally:
        path.write_text(original, encoding="utf-8")  # newer than any object of the mutant


def describe(n, mutant):
    note = equivalent(mutant)
    head = "%3d %s:%d %s%s" % (n, mutant[0], mutant[1], mutant[2],
                               "  [equivalent: %s]" % note if note else "")
    return "%s\n      - %s\n      + %s" % (head, mutant[3].strip(), mutant[4].strip())


def on_signal(signum, frame):
    raise KeyboardInterrupt


def main():
    args = sys.argv[1:]
    which = "chosen" if "--set" in args and args[args.index("--set") + 1] == "chosen" \
        else "generated"
    mutants = chosen() if which == "chosen" else generated()
    if "--list" in args:
        for n, mutant in enumerate(mutants, 1):
            print(describe(n, mutant))
        return 0
    build_dir = pathlib.Path(args[0] if args and not args[0].startswith("--")
                             else "build").resolve()
    only = [int(a) for a in args[args.index("--only") + 1:]] if "--only" in args else None
    store = build_dir / ("mutate-%s.json" % which)
    results = json.loads(store.read_text()) if store.exists() else {}
    signal.signal(signal.SIGTERM, on_signal)
    slow = "--fast-only" not in args
    try:
        for n, mutant in enumerate(mutants, 1):
            key = describe(n, mutant)
            again = slow and results.get(key) == "not fast"
            if (only and n not in only) or equivalent(mutant) or (key in results and not again):
                continue
            results[key] = judge(mutant, build_dir, slow, fast=not again)
            store.write_text(json.dumps(results, indent=1))
            print("%s\n      => %s" % (key, results[key]), flush=True)
    except KeyboardInterrupt:
        print("interrupted; results so far are kept in", store)
    keys = [describe(n, m) for n, m in enumerate(mutants, 1) if not equivalent(m)]
    judged = {key: results[key] for key in keys if key in results}
    counted = [r for r in judged.values() if r != "stillborn"]
    fast = counted.count("fast")
    both = fast + counted.count("slow")
    total = len(counted)
    print("\n%s set: %d mutants, %d equivalent, %d stillborn, %d judged" % (
        which, len(mutants), sum(1 for m in mutants if equivalent(m)),
        len(judged) - total, total))
    if total:
        print("fast suites: %d of %d caught (%.0f %%)" % (fast, total, 100.0 * fast / total))
        print("all suites:  %d of %d caught (%.0f %%)" % (both, total, 100.0 * both / total))
    for key, result in judged.items():
        if result in ("survived", "not fast"):
            print("%s:" % result, key)
    return 0


if __name__ == "__main__":
    sys.exit(main())
