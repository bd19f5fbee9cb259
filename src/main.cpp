// Zentaris: apples with multiplication tasks fall from a tree; type the answer and press Space.

#include <cstdlib>

#include "framework/CFramework.h"
#include "game/CGame.h"

int main(int, char**) {
    if (!CFramework::Get()->Init("Zentaris", 800, 600, 32, true)) {
        CFramework::Get()->Quit();
        std::exit(1);
    }
    {
        CGame game;
        game.Init();
        game.Run();
        game.Quit();
        CFramework::Get()->Quit();
        TSingleton<CFramework>::Del();
    }
    return 0;
}
