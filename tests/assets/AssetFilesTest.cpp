// Checks the generated pictures and sounds in the runtime directory: the formats and sizes the
// game loads, a clean colour key, frames that show something, and sounds that neither click
// nor clip.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

const std::string kRuntimeDir = ZENTARIS_RUNTIME_DIR;
const std::string kManifest = ZENTARIS_ASSET_MANIFEST;

struct SPicture {
    std::string strName;
    int iWidth = 0;
    int iHeight = 0;
    bool bKeyed = false;
    int iFrameWidth = 0;
    int iFrameHeight = 0;
    bool bOutline = true;  // keyed edges take the outline colour unless "nooutline" is given
};

// One manifest line: name, width, height, keyed (yes/no), optional comma-separated options of
// which frame=WxH gives the frame size of a sheet.
std::vector<SPicture> ReadManifest() {
    std::vector<SPicture> pictures;
    std::ifstream file(kManifest);
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream cols(line);
        SPicture pic;
        std::string keyed;
        std::string options;
        if (!(cols >> pic.strName >> pic.iWidth >> pic.iHeight >> keyed)) {
            continue;
        }
        cols >> options;
        pic.bKeyed = keyed == "yes";
        pic.bOutline = options.find("nooutline") == std::string::npos;
        pic.iFrameWidth = pic.iWidth;
        pic.iFrameHeight = pic.iHeight;
        const std::string::size_type at = options.find("frame=");
        if (at != std::string::npos) {
            std::sscanf(options.c_str() + at, "frame=%dx%d", &pic.iFrameWidth, &pic.iFrameHeight);
        }
        pictures.push_back(pic);
    }
    return pictures;
}

// Test names and failure messages show the picture's name.
void PrintTo(const SPicture& pic, std::ostream* pOut) { *pOut << pic.strName; }

struct SRgb {
    Uint8 r;
    Uint8 g;
    Uint8 b;
};

SRgb PixelAt(const SDL_Surface* pSurface, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(pSurface->pixels) + y * pSurface->pitch +
                     x * pSurface->format->BytesPerPixel;
    const Uint32 value = static_cast<Uint32>(p[0]) | (static_cast<Uint32>(p[1]) << 8) |
                         (static_cast<Uint32>(p[2]) << 16);
    SRgb rgb{};
    SDL_GetRGB(value, pSurface->format, &rgb.r, &rgb.g, &rgb.b);
    return rgb;
}

bool IsKey(SRgb c) { return c.r == 255 && c.g == 0 && c.b == 255; }

// Close enough to magenta to read as a pink fringe next to the key colour.
bool IsNearKey(SRgb c) { return c.r >= 200 && c.b >= 200 && c.g <= 80; }

class PictureFile : public ::testing::TestWithParam<SPicture> {
protected:
    void SetUp() override {
        const std::string path = kRuntimeDir + "/ImgData/" + GetParam().strName + ".bmp";
        m_pSurface = SDL_LoadBMP(path.c_str());
        ASSERT_NE(m_pSurface, nullptr) << path << ": " << SDL_GetError();
        ASSERT_EQ(m_pSurface->format->BitsPerPixel, 24) << path;
    }
    void TearDown() override { SDL_FreeSurface(m_pSurface); }

    // Counts the pixels of the rectangle that pass the test.
    template <typename F>
    int Count(int x0, int y0, int w, int h, F test) const {
        int iCount = 0;
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                iCount += test(PixelAt(m_pSurface, x, y)) ? 1 : 0;
            }
        }
        return iCount;
    }

    SDL_Surface* m_pSurface = nullptr;
};

TEST_P(PictureFile, HasTheSizeOfItsManifestLine) {
    EXPECT_EQ(m_pSurface->w, GetParam().iWidth);
    EXPECT_EQ(m_pSurface->h, GetParam().iHeight);
}

TEST_P(PictureFile, HasNoPixelNearTheKeyColourExceptTheKeyItself) {
    const SPicture& pic = GetParam();
    const int iFringe = Count(0, 0, m_pSurface->w, m_pSurface->h,
                              [&](SRgb c) { return IsNearKey(c) && !(pic.bKeyed && IsKey(c)); });
    EXPECT_EQ(iFringe, 0);
}

TEST_P(PictureFile, KeyedPictureIsTransparentSomewhereAndOpaquePicturesNowhere) {
    const int iKey = Count(0, 0, m_pSurface->w, m_pSurface->h, IsKey);
    if (GetParam().bKeyed) {
        EXPECT_GT(iKey, 0);
    } else {
        EXPECT_EQ(iKey, 0);
    }
}

TEST_P(PictureFile, EveryFrameShowsSomething) {
    const SPicture& pic = GetParam();
    ASSERT_GT(pic.iFrameWidth, 0);
    ASSERT_GT(pic.iFrameHeight, 0);
    ASSERT_EQ(m_pSurface->w % pic.iFrameWidth, 0);
    ASSERT_EQ(m_pSurface->h % pic.iFrameHeight, 0);
    for (int fy = 0; fy < m_pSurface->h; fy += pic.iFrameHeight) {
        for (int fx = 0; fx < m_pSurface->w; fx += pic.iFrameWidth) {
            const int iShown = Count(fx, fy, pic.iFrameWidth, pic.iFrameHeight,
                                     [](SRgb c) { return !IsKey(c); });
            // At least a tenth of a frame is drawn: a dot or a stray line is not a sprite.
            EXPECT_GT(iShown, pic.iFrameWidth * pic.iFrameHeight / 10)
                << "frame at (" << fx << ", " << fy << ")";
        }
    }
}

// The keyed pictures whose edges carry the dark outline.
class OutlinedPicture : public PictureFile {};

std::vector<SPicture> OutlinedPictures() {
    std::vector<SPicture> pictures;
    for (const SPicture& pic : ReadManifest()) {
        if (pic.bKeyed && pic.bOutline) {
            pictures.push_back(pic);
        }
    }
    return pictures;
}

TEST_P(OutlinedPicture, KeyedEdgesTakeTheOutlineColour) {
    const SRgb outline{0x3b, 0x2a, 0x1e};
    int iEdge = 0;
    int iWrong = 0;
    for (int y = 0; y < m_pSurface->h; ++y) {
        for (int x = 0; x < m_pSurface->w; ++x) {
            const SRgb c = PixelAt(m_pSurface, x, y);
            if (IsKey(c)) {
                continue;
            }
            const bool bEdge = (x > 0 && IsKey(PixelAt(m_pSurface, x - 1, y))) ||
                               (x + 1 < m_pSurface->w && IsKey(PixelAt(m_pSurface, x + 1, y))) ||
                               (y > 0 && IsKey(PixelAt(m_pSurface, x, y - 1))) ||
                               (y + 1 < m_pSurface->h && IsKey(PixelAt(m_pSurface, x, y + 1)));
            if (bEdge) {
                ++iEdge;
                iWrong += (c.r != outline.r || c.g != outline.g || c.b != outline.b) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(iEdge, 0);
    EXPECT_EQ(iWrong, 0) << "of " << iEdge << " edge pixels";
}

INSTANTIATE_TEST_SUITE_P(Manifest, PictureFile, ::testing::ValuesIn(ReadManifest()),
                         [](const ::testing::TestParamInfo<SPicture>& info) {
                             return info.param.strName;
                         });
INSTANTIATE_TEST_SUITE_P(Manifest, OutlinedPicture, ::testing::ValuesIn(OutlinedPictures()),
                         [](const ::testing::TestParamInfo<SPicture>& info) {
                             return info.param.strName;
                         });

TEST(PictureManifest, ListsThePicturesTheGameLoads) {
    std::vector<std::string> names;
    for (const SPicture& pic : ReadManifest()) {
        names.push_back(pic.strName);
    }
    for (const char* name : {"baum", "gameover2", "startpage", "helpscreen", "helpscreen_back",
                             "highscore", "showscore", "apple5", "bonus3", "pferdleft",
                             "pferdright", "lives", "witchey", "flashbgr", "cur_hand", "cur_std"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

// ---------------------------------------------------------------- sounds

struct SSound {
    int iChannels = 0;
    std::vector<std::vector<double>> channels;  // samples as fractions of full scale
    double Seconds() const { return channels.empty() ? 0.0 : channels[0].size() / 44100.0; }
};

SSound LoadSound(const std::string& strName) {
    const std::string path = kRuntimeDir + "/Sound/" + strName;
    SDL_AudioSpec spec;
    Uint8* pBuffer = nullptr;
    Uint32 uLength = 0;
    SSound sound;
    if (SDL_LoadWAV(path.c_str(), &spec, &pBuffer, &uLength) == nullptr) {
        ADD_FAILURE() << path << ": " << SDL_GetError();
        return sound;
    }
    EXPECT_EQ(spec.freq, 44100) << strName;
    EXPECT_EQ(spec.format, AUDIO_S16LSB) << strName;
    EXPECT_TRUE(spec.channels == 1 || spec.channels == 2) << strName;
    if (spec.format == AUDIO_S16LSB && (spec.channels == 1 || spec.channels == 2)) {
        sound.iChannels = spec.channels;
        sound.channels.resize(spec.channels);
        const size_t frames = uLength / (2u * spec.channels);
        for (size_t i = 0; i < frames; ++i) {
            for (int c = 0; c < spec.channels; ++c) {
                const size_t at = 2 * (i * spec.channels + c);
                const int16_t value = static_cast<int16_t>(pBuffer[at] | (pBuffer[at + 1] << 8));
                sound.channels[c].push_back(value / 32768.0);
            }
        }
    }
    SDL_FreeWAV(pBuffer);
    return sound;
}

double Peak(const SSound& sound) {
    double peak = 0.0;
    for (const auto& channel : sound.channels) {
        for (double s : channel) {
            peak = std::max(peak, std::fabs(s));
        }
    }
    return peak;
}

// Loudness (RMS) over the samples that sound, that is louder than a tenth of the peak.
double SoundingRms(const SSound& sound) {
    const double limit = Peak(sound) / 10.0;
    double sum = 0.0;
    size_t count = 0;
    for (const auto& channel : sound.channels) {
        for (double s : channel) {
            if (std::fabs(s) >= limit) {
                sum += s * s;
                ++count;
            }
        }
    }
    return count ? std::sqrt(sum / count) : 0.0;
}

double Db(double ratio) { return 20.0 * std::log10(ratio); }

const char* const kEffects[] = {"boing.wav", "success.wav", "fail.wav"};

TEST(SoundEffects, AreShortAudibleAndUnclipped) {
    for (const char* name : kEffects) {
        const SSound sound = LoadSound(name);
        ASSERT_FALSE(sound.channels.empty()) << name;
        EXPECT_GT(sound.Seconds(), 0.1) << name;
        EXPECT_LT(sound.Seconds(), 1.0) << name;
        EXPECT_GT(Peak(sound), 0.25) << name;
        EXPECT_LT(Peak(sound), 0.99) << name;
    }
}

TEST(SoundEffects, StartAndEndInSilenceSoTheyDoNotClick) {
    for (const char* name : kEffects) {
        const SSound sound = LoadSound(name);
        ASSERT_FALSE(sound.channels.empty()) << name;
        for (const auto& channel : sound.channels) {
            EXPECT_LT(std::fabs(channel.front()), 0.01) << name;
            EXPECT_LT(std::fabs(channel.back()), 0.01) << name;
            // The first and last two milliseconds stay well under the peak: short fades.
            const size_t edge = 88;
            double head = 0.0;
            double tail = 0.0;
            for (size_t i = 0; i < edge; ++i) {
                head = std::max(head, std::fabs(channel[i]));
                tail = std::max(tail, std::fabs(channel[channel.size() - 1 - i]));
            }
            EXPECT_LT(head, 0.7 * Peak(sound)) << name;
            EXPECT_LT(tail, 0.1 * Peak(sound)) << name;
        }
    }
}

TEST(Music, LastsTwentyToSixtySecondsAndDoesNotClip) {
    const SSound music = LoadSound("sound.wav");
    ASSERT_FALSE(music.channels.empty());
    EXPECT_GE(music.Seconds(), 20.0);
    EXPECT_LE(music.Seconds(), 60.0);
    EXPECT_GT(Peak(music), 0.05);
    EXPECT_LT(Peak(music), 0.99);
}

TEST(Music, LoopsWithoutAClick) {
    const SSound music = LoadSound("sound.wav");
    ASSERT_FALSE(music.channels.empty());
    for (const auto& channel : music.channels) {
        // The cut lies at a zero crossing ...
        EXPECT_LT(std::fabs(channel.front()), 0.02);
        EXPECT_LT(std::fabs(channel.back()), 0.02);
        // ... and the step from the last sample back to the first is no larger than the
        // steps the music takes anyway.
        double steepest = 0.0;
        for (size_t i = 1; i < channel.size(); ++i) {
            steepest = std::max(steepest, std::fabs(channel[i] - channel[i - 1]));
        }
        EXPECT_LE(std::fabs(channel.front() - channel.back()), steepest);
    }
}

TEST(Music, HasNoFadeAtEitherEnd) {
    const SSound music = LoadSound("sound.wav");
    ASSERT_FALSE(music.channels.empty());
    // The first and the last half second are about as loud as the rest.
    const size_t half = 22050;
    const auto& channel = music.channels[0];
    ASSERT_GT(channel.size(), 4 * half);
    double head = 0.0;
    double tail = 0.0;
    for (size_t i = 0; i < half; ++i) {
        head = std::max(head, std::fabs(channel[i]));
        tail = std::max(tail, std::fabs(channel[channel.size() - 1 - i]));
    }
    EXPECT_GT(head, 0.2 * Peak(music));
    EXPECT_GT(tail, 0.2 * Peak(music));
}

TEST(Music, SitsAboutTenDecibelsUnderTheEffects) {
    const SSound music = LoadSound("sound.wav");
    ASSERT_FALSE(music.channels.empty());
    double effects = 0.0;
    for (const char* name : kEffects) {
        effects += SoundingRms(LoadSound(name)) / 3.0;
    }
    const double under = Db(effects) - Db(SoundingRms(music));
    EXPECT_GT(under, 6.0);
    EXPECT_LT(under, 14.0);
}

}  // namespace
