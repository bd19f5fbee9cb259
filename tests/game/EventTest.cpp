// Keys, name text and the start button, one event per frame, as SDL delivers them.

#include <sstream>
#include <tuple>

#include "GameFixture.h"

// One input: a key as SDL names it ("F5", "Keypad 1"), text after an apostrophe ("'ü"), or the
// window closed ("Quit").
static SDL_Event Input(const std::string& strItem) {
    SDL_Event event{strItem == "Quit"    ? Uint32(SDL_QUIT)
                    : strItem[0] == '\'' ? Uint32(SDL_TEXTINPUT)
                                         : Uint32(SDL_KEYDOWN)};
    if (event.type == SDL_TEXTINPUT)
        SDL_strlcpy(event.text.text, strItem.c_str() + 1, sizeof(event.text.text));
    else
        event.key.keysym.scancode = SDL_GetScancodeFromName(strItem.c_str());
    return event;
}

// What input may change, "state|name|answer|score|range|operation", then what is set or off.
static std::string View(const CGame& game) {
    const char* const states[] = {"start", "play", "over"};
    return std::string(states[game.m_iState]) + "|" + game.m_strPlayerName + "|" +
           game.m_strAnswer + "|" + std::to_string(game.m_iScore) + "|" +
           std::to_string(game.m_iRange) + (game.m_bMultiply ? "|x" : "|:") +
           (game.m_bPlayerNameChanged ? " renamed" : "") + (game.m_bHelp ? " help" : "") +
           (game.m_bRunning ? "" : " quit") + (SDL_IsTextInputActive() ? "" : " no-text") +
           (SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE ? "" : " no-pointer");
}

TEST_F(GameTest, KeysAndTextDoTheirJobInTheStatesThatMatter) {
    // State, name, the inputs in order, and the outcome.
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {STATE_PLAY, "José", "1,9,0,F9", "play|José|12190|700|10|x"},
        {STATE_GAMEOVER, "José", "Keypad 1,Keypad 9,Keypad 0,F11", "over|José|12190|700|99|x"},
        {STATE_START, "José", "5,F10,Escape", "start|José|125|700|20|x quit"},
        {STATE_PLAY, "José", "Return,Escape", "play|José|12|700|15|x quit"},
        {STATE_START, "José", "Quit", "start|José|12|700|15|x quit"},
        {STATE_GAMEOVER, "José", "Return", "play|José|12|0|15|x"},
        {STATE_PLAY, "José", "F1,F1,F12", "play|José|12|700|15|:"},
        {STATE_PLAY, "José", "F5,F2", "start|||0|15|x renamed"},
        {STATE_GAMEOVER, "José", "F2", "start||12|0|15|x renamed"},
        // Backspace takes the last whole character, and bytes of no character one by one.
        {STATE_START, "José", "Return,F2,Backspace", "start|Jos|12|700|15|x renamed"},
        {STATE_PLAY, "a€😀", "Backspace,Space", "play|a€||700|15|x renamed"},
        {STATE_GAMEOVER, "a€\xE2\x82", "Backspace,F1,Escape",
         "over|a€|12|700|15|x renamed help quit"},
        {STATE_START, "a€\x80", "Backspace,F5", "play|a€||700|15|x renamed no-text no-pointer"},
        // The name takes text while it holds at most 13 bytes, and takes it whole; SDL hands a
        // 40-byte input-method commit over in pieces that end on characters.
        {STATE_START, "Anna-Lena Kim", "'s,'t", "start|Anna-Lena Kims|12|700|15|x renamed"},
        {STATE_START, "Anna-Lena Kims", "'t", "start|Anna-Lena Kims|12|700|15|x"},
        {STATE_START, "", "'ÄÖÜäöüßÄÖÜäöüßÄ,'ÖÜäöü", "start|ÄÖÜäöüßÄÖÜäöüßÄ|12|700|15|x renamed"},
        {STATE_GAMEOVER, "Ute", "'x", "over|Ute|12|700|15|x"},
    };
    for (const auto& [iState, pName, pInput, pView] : cases) {
        m_Game.m_iState = iState;
        m_Game.m_strPlayerName = pName, m_Game.m_strAnswer = "12", m_Game.m_iScore = 700;
        m_Game.m_iRange = 15; // a range no key chooses, so each choice shows
        m_Game.m_bMultiply = m_Game.m_bRunning = true;
        m_Game.m_bHelp = m_Game.m_bPlayerNameChanged = false;
        SDL_StartTextInput(), SDL_ShowCursor(SDL_ENABLE);
        std::istringstream input(pInput);
        for (std::string strItem; std::getline(input, strItem, ',');)
            Handle({Input(strItem)});
        EXPECT_EQ(View(m_Game), pView) << pInput;
    }
}

TEST_F(GameTest, OnlyAReleaseStrictlyInsideTheStartButtonStartsTheGame) {
    const SDL_Rect b = CFramework::Get()->m_StartButtonRect;
    const std::tuple<Uint32, int, int, int> cases[] = {
        {SDL_MOUSEBUTTONUP, b.x, b.y + b.h / 2, STATE_START},
        {SDL_MOUSEBUTTONUP, b.x + b.w / 2, b.y + b.h, STATE_START},
        {SDL_MOUSEBUTTONDOWN, b.x + b.w / 2, b.y + b.h / 2, STATE_START},
        {SDL_MOUSEBUTTONUP, b.x + 1, b.y + b.h - 1, STATE_PLAY}};
    for (const auto& [type, x, y, iState] : cases) {
        m_Game.m_iState = STATE_START;
        // The event's own coordinates stay 0: the game must ask SDL where the pointer is.
        SDL_WarpMouseInWindow(CFramework::Get()->m_pWindow, x, y);
        Handle({SDL_Event{type}});
        EXPECT_EQ(m_Game.m_iState, iState) << "event " << type << " at " << x << "," << y;
    }
}
