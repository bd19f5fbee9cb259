// The floor the game is measured against: a full-screen desktop window set up the way the
// framework sets up its own (renderer, logical size, linear scaling, one 32-bit surface and its
// streaming texture), presenting a plain grey frame as fast as it can until Escape or close.
// Nothing else: no sound, no fonts, no pictures.

#include <SDL.h>

namespace {
const int WIDTH = 800;
const int HEIGHT = 600;

bool WantsToQuit() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT) {
            return true;
        }
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
            return true;
        }
    }
    return false;
}
} // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_Log("SDL_Init: %s", SDL_GetError());
        return 1;
    }
    SDL_Window* pWindow = SDL_CreateWindow("Bare", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                           0, 0, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_Renderer* pRenderer = pWindow ? SDL_CreateRenderer(pWindow, -1, 0) : nullptr;
    if (pRenderer == nullptr) {
        SDL_Log("window or renderer: %s", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_RenderSetLogicalSize(pRenderer, WIDTH, HEIGHT);
    SDL_Surface* pScreen =
        SDL_CreateRGBSurface(0, WIDTH, HEIGHT, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    SDL_Texture* pTexture = SDL_CreateTexture(pRenderer, SDL_PIXELFORMAT_ARGB8888,
                                              SDL_TEXTUREACCESS_STREAMING, WIDTH, HEIGHT);
    if (pScreen == nullptr || pTexture == nullptr) {
        SDL_Log("surface or texture: %s", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    while (!WantsToQuit()) {
        SDL_FillRect(pScreen, nullptr, SDL_MapRGB(pScreen->format, 128, 128, 128));
        SDL_UpdateTexture(pTexture, nullptr, pScreen->pixels, pScreen->pitch);
        SDL_RenderClear(pRenderer);
        SDL_RenderCopy(pRenderer, pTexture, nullptr, nullptr);
        SDL_RenderPresent(pRenderer);
    }
    SDL_FreeSurface(pScreen);
    SDL_Quit();
    return 0;
}
