// zarnok_assets OUTPUT_DIR: computes every picture, sound and the music of the game.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "bmp_writer.h"
#include "effects.h"
#include "file_output.h"
#include "music.h"
#include "pictures.h"
#include "platform/data_file_names.h"
#include "wav_writer.h"
#include "xm_writer.h"

namespace {

bool write_picture(const std::string& path, const Image& image, uint64_t dither_seed) {
    Rng dither{dither_seed};
    return write_file(path, encode_bmp(image.width, image.height, to_rgb8(image, dither)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarnok_assets OUTPUT_DIR\n");
        return 2;
    }
    const std::string directory = argv[1];
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::fprintf(stderr, "zarnok_assets: cannot create %s: %s\n", directory.c_str(),
                     error.message().c_str());
        return 1;
    }
    bool ok = true;
    ok = write_picture(directory + "/" + background_file, paint_space_background(), 1) && ok;
    ok = write_picture(directory + "/" + help_background_file, paint_help_background(), 2) && ok;
    ok = write_picture(directory + "/" + hiscore_background_file, paint_hiscore_background(), 3) &&
         ok;
    ok = write_picture(directory + "/" + about_background_file, paint_about_background(), 4) && ok;
    ok = write_file(directory + "/" + gun_sound_file, encode_wav(make_gun_sound(), effect_rate)) &&
         ok;
    ok = write_file(directory + "/" + explosion_sound_file,
                    encode_wav(make_explosion_sound(), effect_rate)) &&
         ok;
    ok = write_file(directory + "/" + level_up_sound_file,
                    encode_wav(make_level_up_sound(), effect_rate)) &&
         ok;
    ok = write_file(directory + "/" + music_file, encode_xm(compose_music())) && ok;
    return ok ? 0 : 1;
}
