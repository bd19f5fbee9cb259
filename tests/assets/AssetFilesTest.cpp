// The generated pictures and sounds in the runtime directory: 24-bit BMPs in the geometry the game
// loads them with, keyed with exact magenta and free of pink fringes; WAVs the mixer plays as they
// are, of a fitting length, below full scale, and music that loops without a click.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

namespace {
const std::string kDir = ZENTARIS_RUNTIME_DIR;

// Name, frames, frame width and height, and the key: O keyed, its edges in the dark outline
// colour; K keyed with soft edges (a glow, a translucent backing); N not keyed. The pages frame the
// best-three table for 280 x 70.
const char* const kPictures[] = {
    "cur_hand 1 32 32 O",     "cur_std 1 32 32 O",      "witchey 3 204 320 O",
    "flashbgr 1 32 32 K",     "baum 1 800 600 N",       "gameover2 1 800 600 N",
    "apple5 20 64 64 O",      "bonus3 6 64 64 O",       "pferdleft 4 270 211 O",
    "pferdright 4 270 211 O", "lives 4 128 40 O",       "showscore 1 99 33 O",
    "startpage 1 800 600 N",  "helpscreen 1 600 525 O", "helpscreen_back 1 600 525 K",
    "highscore 1 280 70 N"};

SDL_Color At(const SDL_Surface* p, int x, int y) { // of a 24-bit surface; off it: black
    if (x < 0 || y < 0 || x >= p->w || y >= p->h)
        return SDL_Color{0, 0, 0, 255};
    const Uint8* q = static_cast<const Uint8*>(p->pixels) + y * p->pitch + 3 * x;
    SDL_Color c{0, 0, 0, 255};
    SDL_GetRGB(q[0] | (q[1] << 8) | (q[2] << 16), p->format, &c.r, &c.g, &c.b);
    return c;
}
const auto IsKey = [](SDL_Color c) { return c.r == 255 && c.g == 0 && c.b == 255; };
const auto IsOutline = [](SDL_Color c) { return c.r == 0x3b && c.g == 0x2a && c.b == 0x1e; };

// The samples of a WAV, channels interleaved, as fractions of full scale; its channels in ch.
std::vector<double> Load(const char* pName, std::size_t& ch) {
    SDL_AudioSpec format{};
    Uint8* pBuffer = nullptr;
    Uint32 uLength = 0;
    const bool bLoaded =
        SDL_LoadWAV((kDir + "/Sound/" + pName).c_str(), &format, &pBuffer, &uLength);
    // The mixer runs at 44.1 kHz, 16 bits, so the files play unconverted.
    EXPECT_TRUE(bLoaded && format.freq == 44100 && format.format == AUDIO_S16LSB &&
                format.channels <= 2)
        << pName << ": " << SDL_GetError();
    std::vector<double> samples;
    for (Uint32 i = 0; i + 1 < uLength; i += 2)
        samples.push_back(static_cast<Sint16>(pBuffer[i] | (pBuffer[i + 1] << 8)) / 32768.0);
    SDL_FreeWAV(pBuffer);
    ch = std::max<std::size_t>(format.channels, 1);
    return samples;
}
double Peak(const std::vector<double>& samples, std::size_t from, std::size_t to) {
    const auto range = std::minmax_element(samples.begin() + from, samples.begin() + to);
    return from < to ? std::max(-*range.first, *range.second) : 0.0;
}
} // namespace

TEST(Pictures, AreSheetsOfVisibleFramesKeyedWithExactMagentaWithoutAPinkFringe) {
    for (const char* pPicture : kPictures) {
        SCOPED_TRACE(pPicture);
        char szName[32] = "", cKey = 'N';
        int iFrames = 0, w = 1, h = 1; // of a frame
        std::sscanf(pPicture, "%31s %d %d %d %c", szName, &iFrames, &w, &h, &cKey);
        SDL_Surface* p = SDL_LoadBMP((kDir + "/ImgData/" + szName + ".bmp").c_str());
        ASSERT_NE(p, nullptr) << SDL_GetError();
        ASSERT_EQ(p->format->BitsPerPixel, 24);
        const int iColumns = p->w / w;
        EXPECT_EQ(p->w % w + p->h % h, 0);
        EXPECT_EQ(iColumns * (p->h / h), iFrames);
        std::vector<int> shown(iFrames + 1);
        int iKey = 0, iNearKey = 0, iPinkEdge = 0;
        for (int y = 0; y < p->h; ++y)
            for (int x = 0; x < p->w; ++x) {
                const SDL_Color c = At(p, x, y);
                const bool bEdge = IsKey(At(p, x - 1, y)) || IsKey(At(p, x + 1, y)) ||
                                   IsKey(At(p, x, y - 1)) || IsKey(At(p, x, y + 1));
                iKey += IsKey(c);
                iNearKey += !IsKey(c) && c.r >= 200 && c.b >= 200 && c.g <= 80;
                iPinkEdge += cKey == 'O' && bEdge && !IsKey(c) && !IsOutline(c);
                shown[std::min(iFrames, y / h * iColumns + x / w)] += !IsKey(c);
            }
        EXPECT_TRUE((iKey > 0) == (cKey != 'N') && iNearKey == 0 && iPinkEdge == 0)
            << iKey << " keyed, " << iNearKey << " near magenta, " << iPinkEdge << " pink edges";
        for (int k = 0; k < iFrames; ++k) // a tenth at least: a dot or a stray line is no frame
            EXPECT_GT(shown[k], w * h / 10) << "frame " << k;
        SDL_FreeSurface(p);
    }
}

TEST(Sounds, EffectsAreShortAndTheMusicLoopsWithoutAClickOrAFadeAllAudibleBelowFullScale) {
    std::size_t ch = 1;
    for (const char* pName : {"boing.wav", "success.wav", "fail.wav"}) {
        const std::vector<double> sound = Load(pName, ch);
        const double fSeconds = sound.size() / ch / 44100.0, fPeak = Peak(sound, 0, sound.size());
        EXPECT_TRUE(fSeconds > 0.1 && fSeconds < 1.0 && fPeak > 0.25 && fPeak < 0.99)
            << pName << ": " << fSeconds << " s, peak " << fPeak;
    }
    const std::vector<double> music = Load("sound.wav", ch);
    const std::size_t n = music.size(), half = 22050 * ch;
    ASSERT_TRUE(n >= 20 * 44100 * ch && n <= 60 * 44100 * ch) << n / ch / 44100.0 << " s";
    // Audible, never clipping, and its first and last half second about as loud as the rest.
    const double fPeak = Peak(music, 0, n), fHead = Peak(music, 0, half),
                 fTail = Peak(music, n - half, n);
    EXPECT_TRUE(fPeak > 0.05 && fPeak < 0.99 && fHead > 0.2 * fPeak && fTail > 0.2 * fPeak)
        << fPeak << " " << fHead << " " << fTail;
    // The seam lies near zero, and its step is no larger than the steps the music takes.
    double fSteepest = 0.0;
    for (std::size_t i = ch; i < n; ++i)
        fSteepest = std::max(fSteepest, std::fabs(music[i] - music[i - ch]));
    for (std::size_t c = 0; c < ch; ++c)
        EXPECT_TRUE(std::fabs(music[c]) < 0.02 && std::fabs(music[n - ch + c]) < 0.02 &&
                    std::fabs(music[c] - music[n - ch + c]) <= fSteepest)
            << "channel " << c;
}
