// Windows, their surfaces, text through the glyph cache, BMP pictures on SDL, and what the game
// reads of its files.
#include "tests/integration/sdl_fixture.h"

#include <SDL_ttf.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "audio/sound_library.h"
#include "platform/bitmap.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl/sdl_windows.h"
#include "platform/text.h"

namespace {

using DrawingTest = SdlTest;

// Frames shown both ways: through the window's surface, and through SDL's renderer (its software
// one on the dummy driver, which draws into the same surface).
class ShowingTest : public SdlTest, public testing::WithParamInterface<RendererChoice> {};
INSTANTIATE_TEST_SUITE_P(BothWays, ShowingTest,
                         testing::Values(RendererChoice::surface, RendererChoice::gpu));

// The colour of a pixel of a window's surface.
Colour surface_colour(WindowHandle window, int32_t x, int32_t y) {
    SDL_Surface* surface = SDL_GetWindowSurface(window->sdl_window);
    uint8_t r = 0, g = 0, b = 0;
    SDL_GetRGB(static_cast<const uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x],
               surface->format, &r, &g, &b);
    return rgb(r, g, b);
}

TEST_P(ShowingTest, ViewsShowEnlargedAndFillTheFullScreen) {
    choose_renderer(GetParam());
    EXPECT_EQ(create_window("nosuchclass", "x", 0, 0, 10, 10), nullptr);
    // On the dummy driver's 1024 x 768 desktop, a first window 96 high is shown 4 times as large
    // (within half the screen's height), and the game counts in quarters of screen pixels.
    WindowHandle window = make_window("one", 40, 96);
    EXPECT_EQ(window->present.renderer != nullptr, GetParam() == RendererChoice::gpu);
    move_window(window, 33, 44, 40, 96);
    EXPECT_EQ(sent, std::vector<std::string>({"sized one 0 00600028", "moved one 0 0030006c",
                                              "sized one 0 00600028", "moved one 0 002c0021"}));
    EXPECT_EQ(system_metrics().screen_width, 256);
    show_window(window, true);
    drain();
    Canvas* canvas = get_window_canvas(window);
    ASSERT_EQ(canvas->width, 40);
    ASSERT_EQ(canvas->height, 96);
    EXPECT_EQ(canvas->background_colour, rgb(255, 255, 255)); // a fresh text state
    Canvas* back = create_back_buffer(40, 96);
    fill_rect(back, 12, 7, 13, 8, rgb(250, 186, 150));
    copy_block(canvas, back, 40, 96);
    release_window_canvas(window, canvas);
    present_windows();
    for (const auto& [x, y, lit] : {std::tuple{48, 28, true}, {51, 31, true}, {52, 32, false}})
        EXPECT_EQ(surface_colour(window, x, y) == rgb(250, 186, 150), lit) << x << "," << y;
    // What changed goes out from its own place in the view.
    fill_rect(canvas, 30, 80, 32, 82, rgb(0, 255, 0));
    release_window_canvas(window, canvas);
    present_windows();
    EXPECT_EQ(surface_colour(window, 30 * 4, 80 * 4), rgb(0, 255, 0));
    // Partly left of and above the screen, its place is counted in whole view pixels downward.
    SDL_Event moved{};
    moved.window = {SDL_WINDOWEVENT, 0, window->id, SDL_WINDOWEVENT_MOVED, 0, 0, 0, -2, -5};
    SDL_PushEvent(&moved);
    EXPECT_EQ(drain(), std::vector<std::string>({"moved one 0 fffeffff"}));
    // On the full screen: 8 times (as large as fits), centred, the gun view in the left margin.
    WindowHandle gun = make_window("gun", 10, 15);
    fill_rect(get_window_canvas(gun), 0, 0, 10, 15, rgb(0, 0, 255));
    release_window_canvas(gun, get_window_canvas(gun));
    toggle_fullscreen(window);
    EXPECT_EQ(sent.back(), "moved one 0 0000002c");
    copy_block(get_window_canvas(window), back, 40, 96);
    release_window_canvas(window, canvas);
    present_windows();
    for (const auto& [x, y, colour] : {std::tuple{352 + 12 * 8, 7 * 8, rgb(250, 186, 150)},
                                       {352 + 13 * 8, 7 * 8, rgb(0, 0, 0)},
                                       {272, 0, rgb(0, 0, 255)},
                                       {351, 119, rgb(0, 0, 255)},
                                       {271, 0, rgb(0, 0, 0)},
                                       {300, 120, rgb(0, 0, 0)}})
        EXPECT_EQ(surface_colour(window, x, y), colour) << x << "," << y;
    // The pointer over the view's pixel (12, 7), as the mouse messages and the game's asking tell.
    SDL_Event motion{};
    motion.motion = {SDL_MOUSEMOTION, 0, window->id, 0, 0, 352 + 12 * 8 + 7, 7 * 8 + 1, 0, 0};
    SDL_PushEvent(&motion);
    EXPECT_EQ(drain().back(), "mouse one 0 0007000c");
    const ScreenPoint at =
        screen_to_view({window->place.at.x + 352 + 12 * 8 + 7, window->place.at.y + 57});
    EXPECT_EQ(std::pair(at.x, at.y), std::pair(44 + 12, 7));
    delete_back_buffer(back);
}

// The one window: the gun view at the playfield's left, tops level; the mouse over it is the
// gun window's, and minimising it is told as the gun window's own.
TEST_P(ShowingTest, OneWindowShowsBothViews) {
    choose_renderer(GetParam());
    arrange_windows(WindowArrangement::one_window);
    WindowHandle main = make_window("main", 40, 96);
    WindowHandle gun = make_window("gun", 10, 15);
    move_window(main, 100, 50, 40, 96);
    move_window(gun, 90, 50, 10, 15);
    show_window(main, true);
    drain();
    EXPECT_EQ(gun->sdl_window, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowSize(main->sdl_window, &width, &height);
    EXPECT_EQ(width, 200); // the gun view beside the playfield, both at the monitor's scale, 4
    EXPECT_EQ(height, 384);
    EXPECT_EQ(sent.back(), "moved inside 0 0032005a");
    fill_rect(get_window_canvas(main), 0, 0, 40, 96, rgb(0, 255, 0));
    release_window_canvas(main, get_window_canvas(main));
    fill_rect(get_window_canvas(gun), 0, 0, 10, 15, rgb(0, 0, 255));
    release_window_canvas(gun, get_window_canvas(gun));
    present_windows();
    for (const auto& [x, y, colour] : {std::tuple{0, 0, rgb(0, 0, 255)},
                                       {39, 59, rgb(0, 0, 255)},
                                       {39, 60, rgb(0, 0, 0)},
                                       {40, 383, rgb(0, 255, 0)}})
        EXPECT_EQ(surface_colour(main, x, y), colour) << x << "," << y;
    fill_rect(get_window_canvas(gun), 0, 0, 10, 15, rgb(255, 0, 0)); // the gun view alone changes
    release_window_canvas(gun, get_window_canvas(gun));
    present_windows();
    EXPECT_EQ(surface_colour(main, 0, 0), rgb(255, 0, 0));
    SDL_Event motion{};
    for (const auto& [x, y] : {std::pair{5, 9}, {45, 9}}) {
        motion.motion = {SDL_MOUSEMOTION, 0, main->id, 0, 0, x, y, 0, 0};
        SDL_PushEvent(&motion);
    }
    minimise_window(gun);
    EXPECT_EQ(drain(),
              std::vector<std::string>(
                  {"sized inside 1 00000000", "mouse inside 0 00020001", "mouse main 0 00020001"}));
}

// Only a renderer that a graphics card runs is taken unasked: not SDL's software one, nor an
// OpenGL that the processor runs.
TEST(Renderers, OnlyAGraphicsCardCounts) {
    constexpr uint32_t card = SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC;
    const std::tuple<const char*, uint32_t, const char*, bool> cases[] = {
        {"opengl", card, "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", true},
        {"opengl", card, "llvmpipe (LLVM 15.0.6, 256 bits)", false},
        {"opengles2", card, "softpipe", false},
        {"opengl", card, "Mesa DRI SWRAST", false},
        {"opengl", card, "", false},
        {"software", SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC, "", false},
        {"direct3d11", card, "", true},
    };
    for (const auto& [name, flags, gl, counts] : cases)
        EXPECT_EQ(counts_as_gpu(name, flags, gl), counts) << name << " " << gl;
}

// Where a view lies in a window of any size, and what part of a field the monitors show.
TEST(ViewPlace, FitsTheViewsIntoAnyWindow) {
    struct Case {
        SDL_Point window, view, beside;
        int32_t natural;
        ViewPlace expected;
    };
    const Case cases[] = {
        {{800, 800}, {400, 400}, {0, 0}, 2, {2, 0, 0}},           // a window of its own size
        {{1000, 800}, {400, 400}, {100, 150}, 2, {2, 200, 0}},    // the one window
        {{1920, 1080}, {400, 400}, {100, 150}, 2, {2, 560, 140}}, // the full screen
        {{3840, 2160}, {400, 400}, {100, 150}, 2, {5, 920, 80}},
        {{2560, 1440}, {400, 400}, {0, 0}, 1, {3, 680, 120}},     // tiled, no gun view
        {{1500, 1600}, {400, 400}, {100, 150}, 2, {2, 350, 400}}, // its width decides
        {{700, 500}, {400, 400}, {100, 150}, 1, {1, 150, 50}},    // maximised in a small room
        {{300, 200}, {400, 400}, {0, 0}, 1, {1, -50, -100}},      // smaller than the view
    };
    for (const Case& c : cases) {
        const ViewPlace got = lay_out(c.window, c.view, c.beside, c.natural);
        EXPECT_EQ(std::tuple(got.scale, got.x, got.y),
                  std::tuple(c.expected.scale, c.expected.x, c.expected.y))
            << c.window.x << "x" << c.window.y;
    }
    // A field across two monitors is held where either shows it; off both, nowhere.
    const SDL_Rect monitors[] = {{0, 0, 1920, 1080}, {1920, 0, 3840, 2160}};
    SDL_Rect part{};
    ASSERT_TRUE(part_on_monitors({1800, 1000, 400, 400}, monitors, 2, &part));
    EXPECT_EQ(std::tuple(part.x, part.y, part.w, part.h), std::tuple(1800, 1000, 400, 400));
    ASSERT_TRUE(part_on_monitors({-100, -50, 400, 400}, monitors, 2, &part));
    EXPECT_EQ(std::tuple(part.x, part.y, part.w, part.h), std::tuple(0, 0, 300, 350));
    EXPECT_FALSE(part_on_monitors({0, 1100, 400, 400}, monitors, 1, &part));
}

TEST_F(DrawingTest, TextMixesEachPixelByTheGlyphsCoverage) {
    Canvas* canvas = allocate_canvas(16, 16);
    fill_rect(canvas, 0, 0, 16, 16, rgb(40, 90, 200));
    canvas->background_mode = BackgroundMode::transparent;
    canvas->text_colour = rgb(250, 10, 128);
    draw_text(canvas, 3, 1, "@", 1);
    // The coverage, as the font itself renders the glyph.
    TTF_Font* font = TTF_OpenFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 11);
    ASSERT_NE(font, nullptr);
    SDL_Surface* rendered = TTF_RenderGlyph32_Blended(font, '@', {255, 255, 255, 255});
    SDL_Surface* glyph = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    int32_t partial = 0;
    for (int32_t y = 0; y < glyph->h; ++y)
        for (int32_t x = 0; x < glyph->w; ++x) {
            const uint32_t alpha =
                static_cast<const uint32_t*>(glyph->pixels)[y * glyph->pitch / 4 + x] >> 24;
            partial += alpha != 0 && alpha != 255;
            const auto mix = [alpha](uint32_t under, uint32_t over) {
                return (over * alpha + under * (255 - alpha) + 127) / 255;
            };
            EXPECT_EQ(pixel_at(canvas, x + 3, y + 1),
                      pixel_of(rgb(mix(40, 250), mix(90, 10), mix(200, 128))))
                << x << "," << y;
        }
    EXPECT_GT(partial, 10);
    SDL_FreeSurface(glyph);
    SDL_FreeSurface(rendered);
    TTF_CloseFont(font);
    free_canvas(canvas);
}

// A 54-byte header of an uncompressed picture.
std::string bmp_header(int32_t width, int32_t height, uint32_t bits = 24) {
    std::string h(54, '\0');
    const auto put = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            h[at + i] = static_cast<char>(value >> (8 * i));
    };
    h[0] = 'B';
    h[1] = 'M';
    put(10, 54); // where the pixels begin
    put(14, 40); // the header's size
    put(18, static_cast<uint32_t>(width));
    put(22, static_cast<uint32_t>(height));
    put(26, 1 | bits << 16); // one plane
    return h;
}

TEST_F(DrawingTest, PicturesStretchAndBrokenOnesGiveNull) {
    // 4 x 2 pixels, bottom row first: blue-ish on the left half, red on the right half.
    std::string rows;
    for (int y = 0; y < 2; ++y)
        rows += std::string("\xc8\x28\x14\xc8\x28\x14\x00\x00\xff\x00\x00\xff", 12);
    std::ofstream("pic.bmp", std::ios::binary) << bmp_header(4, 2) << rows;
    Canvas* picture = load_bitmap("pic.bmp", 400, 300);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 400);
    EXPECT_EQ(picture->height, 300);
    EXPECT_EQ(colour_of_pixel(pixel_at(picture, 0, 299)), rgb(20, 40, 200));
    EXPECT_EQ(colour_of_pixel(pixel_at(picture, 399, 0)), rgb(255, 0, 0));
    delete_bitmap(picture);

    // Missing, empty, garbage, huge sides, a header cut short, an old core header with huge
    // unsigned sides: none of them sets anything aside.
    std::string core = bmp_header(0, 0).substr(0, 26) + std::string(40, '\xff');
    core[14] = 12, core[18] = '\x70', core[19] = '\xfe', core[20] = '\xff', core[21] = '\xff';
    core[22] = 1, core[23] = 0, core[24] = 24, core[25] = 0;
    const std::string broken[] = {
        "", "BM this is not a picture at all", bmp_header(100000, 100000) + "short",
        bmp_header(-90000, 70000) + "short", bmp_header(2100, 2000) + "short",
        bmp_header(40, 40) + "too short for forty rows", bmp_header(4, 2).substr(0, 30), core,
        // whole, but wider than any background
        bmp_header(2049, 1, 1) + std::string(8 + 260, '\x0f')};
    for (const std::string& bytes : broken) {
        std::ofstream("broken.bmp", std::ios::binary) << bytes;
        EXPECT_EQ(load_bitmap("broken.bmp", 10, 10), nullptr) << bytes.size() << " bytes";
    }
}

// Folder 0 holds the game's own files; 1 FIFOs, 2 links to /dev/zero, 3 the game's files grown
// past 20 MB, 4 nothing, 5 files that the libraries cannot read or would trust to their cost
// (a sample at 1 Hz, a picture of 7 bits a pixel, a module of no pattern).
void make(int row, const std::string& path, const std::string& own) {
    if (row == 5 && path.ends_with(".xm")) {
        std::string module = "Extended Module: " + std::string(20, '\0') + "\x1a" +
                             std::string(20, '\0') + std::string("\4\1\x14\1\0\0", 6);
        const uint16_t fields[] = {1, 0, 2, 0, 0, 1, 6, 125}; // no pattern, no instrument
        for (const uint16_t field : fields)
            module += std::string{static_cast<char>(field & 0xff), static_cast<char>(field >> 8)};
        std::ofstream(path, std::ios::binary) << module + std::string(256, '\0');
    } else if (row == 5) {
        std::filesystem::copy_file(own, path);
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        const auto [offset, bytes] = path.ends_with(".bmp") ? std::pair{28, std::string("\7")}
                                     : path.ends_with(".wav")
                                         ? std::pair{24, std::string("\1\0\0\0", 4)}
                                         : std::pair{69, std::string("\xea")};
        file.seekp(offset).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    if (row == 0 || row == 3)
        std::filesystem::copy_file(own, path);
    if (row == 3)
        std::filesystem::resize_file(path, 21 << 20);
    if (row == 1) {
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    }
    if (row == 2)
        std::filesystem::create_symlink("/dev/zero", path);
}

// The files the game loads, whatever stands at their names: only a regular file of a sane size
// is read; anything else counts as missing and is said once, and nothing waits on it. A bare
// name is looked for in the player's folder, then in the installed data folder.
TEST_F(DrawingTest, OnlyRegularFilesOfASaneSizeAreRead) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder + "/out.raw").c_str(), 1);
    setenv("ZARNOK_DATA_FOLDER", ZARNOK_DATA_DIR, 1);
    sound_init(44100, 8, 0);
    uint32_t own = 0;
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        const std::string at = folder + "/" + std::to_string(row) + "/";
        std::filesystem::create_directory(at);
        for (const char* file : {"bg.bmp", "gun.wav", "supera29.xm"})
            make(row, at + file, std::string(ZARNOK_DATA_DIR "/") + file);
        testing::internal::CaptureStderr();
        for (int twice = 0; twice < 2; ++twice) {
            Canvas* picture = load_bitmap((at + "bg.bmp").c_str(), 40, 40);
            SoundSample* sample = sound_load_sample(-1, (at + "gun.wav").c_str(), 0);
            MusicModule* module = music_load((at + "supera29.xm").c_str());
            EXPECT_EQ(picture != nullptr, row == 0);
            EXPECT_EQ(sample != nullptr, row == 0);
            EXPECT_EQ(module != nullptr, row == 0);
            delete_bitmap(picture);
            sound_free_sample(sample);
            music_free(module);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), row % 4 == 0 ? 0 : 3) << said;
        EXPECT_EQ(said.find("a sample rate of 1 Hz") != std::string::npos, row == 5) << said;
        // By its bare name, a picture of the player's own (the about screen's) comes first; a
        // FIFO and the rest stand aside for the installed one.
        if (row == 0)
            std::filesystem::copy_file(ZARNOK_DATA_DIR "/nfobg.bmp", at + "bg.bmp",
                                       std::filesystem::copy_options::overwrite_existing);
        std::filesystem::current_path(at);
        Canvas* picture = load_bitmap("bg.bmp", 40, 40);
        ASSERT_NE(picture, nullptr);
        own = row == 0 ? picture->pixels[0] : own;
        EXPECT_EQ(picture->pixels[0] == own, row == 0);
        delete_bitmap(picture);
        MusicModule* module = music_load("supera29.xm");
        EXPECT_NE(module, nullptr);
        music_free(module);
    }
    sound_close();
}

} // namespace
