// How long the pictures of the data archive take to come out of it: ReadImage from the
// archive bytes (lookup, inflate, decode) per image and in total, next to a plain libjpeg
// decode of the same JPEG bytes read from a file. Prints figures; asserts nothing.
//
// Usage: tellaro_decode_bench <archive.zip> [repeats]
// When the archive is missing or holds no pictures, pictures of the shipped names and sizes
// are generated (noise over gradients, quality 85) and packed into a stand-in archive.
#include <minizip/zip.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "resources/image_reader.h"
#include "resources/resource_pak.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return bytes;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

// A JPEG of the given size: smooth colour gradients with some noise, like a photograph.
std::vector<uint8_t> MakeJpeg(int width, int height, unsigned seed) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::mt19937 random(seed);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    const double y = info.next_scanline;
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random() % 24);
      row[3 * x + 0] = static_cast<uint8_t>(std::clamp(128 + 100 * std::sin(x / 57.0 + y / 91.0) + noise, 0.0, 255.0));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp(128 + 90 * std::cos(x / 33.0 - y / 40.0) + noise, 0.0, 255.0));
      row[3 * x + 2] = static_cast<uint8_t>((x + static_cast<int>(y)) % 256);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(out, out + outSize);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

struct Picture {
  std::string name;
  int width;
  int height;
};

// The pictures of the shipped archive, by name and size.
std::vector<Picture> ShippedPictures() {
  std::vector<Picture> pictures;
  for (int i = 0; i < 4; ++i) pictures.push_back({"surface" + std::to_string(i) + ".jpg", 1024, 512});
  pictures.push_back({"atmos.jpg", 1024, 512});
  pictures.push_back({"phobos2.jpg", 512, 256});
  for (int i = 1; i <= 10; ++i) {
    const int size = i <= 5 ? 256 : (i == 6 ? 0 : 512);
    pictures.push_back({"Flare" + std::to_string(i) + ".jpg", size == 0 ? 256 : size, size == 0 ? 16 : size});
  }
  return pictures;
}

std::string StandInArchive(const std::string& folder) {
  const std::string path = folder + "/stand_in.zip";
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return "";
  unsigned seed = 1;
  for (const Picture& picture : ShippedPictures()) {
    const std::vector<uint8_t> jpeg = MakeJpeg(picture.width, picture.height, seed++);
    zip_fileinfo info{};
    zipOpenNewFileInZip(zip, picture.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                        Z_DEFAULT_COMPRESSION);
    zipWriteInFileInZip(zip, jpeg.data(), static_cast<unsigned>(jpeg.size()));
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
  return path;
}

bool IsPicture(const char* name) {
  const char* dot = std::strchr(name, '.');
  return dot != nullptr && (std::strcmp(dot, ".jpg") == 0 || std::strcmp(dot, ".tga") == 0);
}

// libjpeg on its own: the file opened and decoded with the standard file source.
// Like ReadImage it hands out a new pixel buffer for every picture.
bool PlainDecode(const std::string& path, ByteBuffer* pixels, size_t* size) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  const size_t rowBytes = static_cast<size_t>(info.output_width) * info.output_components;
  *size = rowBytes * info.output_height;
  *pixels = AllocateBytes(*size);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels->get() + rowBytes * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return true;
}

// The best run: the machine is shared, and every slower run only adds someone else's work.
double Best(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

}  // namespace

int main(int argc, char** argv) {
  const std::string requested = argc > 1 ? argv[1] : "";
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
  char folderTemplate[] = "/tmp/tellaro_bench_XXXXXX";
  const char* folder = mkdtemp(folderTemplate);
  if (folder == nullptr) return 1;

  std::vector<uint8_t> archive = ReadFile(requested);
  ResourcePak pak;
  std::vector<std::string> names;
  if (!archive.empty() && pak.Open(archive.data(), static_cast<int32_t>(archive.size()))) {
    for (int32_t i = 0; i < pak.EntryCount(); ++i) {
      if (IsPicture(pak.Entries()[i].name)) names.emplace_back(pak.Entries()[i].name);
    }
  }
  std::string source = requested;
  if (names.empty()) {
    source = StandInArchive(folder);
    archive = ReadFile(source);
    if (archive.empty() || !pak.Open(archive.data(), static_cast<int32_t>(archive.size()))) return 1;
    for (int32_t i = 0; i < pak.EntryCount(); ++i) names.emplace_back(pak.Entries()[i].name);
    std::printf("No pictures in \"%s\"; using generated pictures of the shipped names and sizes.\n",
                requested.c_str());
  }
  std::printf("Archive %s: %zu bytes, %zu pictures, best of %d runs\n\n", source.c_str(), archive.size(),
              names.size(), repeats);

  // The same member bytes as files, for the plain decode.
  std::vector<std::string> files;
  std::vector<long> sizes;
  for (const std::string& name : names) {
    ByteBuffer bytes;
    const int32_t length = pak.Extract(name.c_str(), &bytes);
    files.push_back(std::string(folder) + "/" + name);
    sizes.push_back(length);
    WriteFile(files.back(), std::vector<uint8_t>(bytes.get(), bytes.get() + std::max(length, 0)));
  }

  std::printf("%-16s %6s %6s %9s %12s %10s %12s %9s\n", "member", "width", "height", "bytes", "archive ms",
              "of it, out", "libjpeg ms", "overhead");
  double archiveTotal = 0, plainTotal = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    std::vector<double> archiveTimes, plainTimes, extractTimes;
    Image image;
    ByteBuffer plainPixels;
    size_t plainSize = 0;
    bool isJpeg = true;
    for (int run = 0; run < repeats; ++run) {
      Clock::time_point start = Clock::now();
      const ImageResult read = ReadImage(&image, names[i].c_str(), pak);
      archiveTimes.push_back(MsSince(start));
      if (!read) {
        std::printf("%-16s cannot be read: %s\n", names[i].c_str(), read.reason().c_str());
        break;
      }
      isJpeg = names[i].find(".jpg") != std::string::npos;
      if (isJpeg) {
        start = Clock::now();
        PlainDecode(files[i], &plainPixels, &plainSize);
        plainTimes.push_back(MsSince(start));
      }
      ByteBuffer member;
      start = Clock::now();
      pak.Extract(names[i].c_str(), &member);
      extractTimes.push_back(MsSince(start));
    }
    const double a = Best(archiveTimes);
    archiveTotal += a;
    if (isJpeg && !plainTimes.empty()) {
      const double p = Best(plainTimes);
      plainTotal += p;
      const bool same = plainSize == static_cast<size_t>(image.width) * image.height * 3 &&
                        std::memcmp(plainPixels.get(), image.pixels.get(), plainSize) == 0;
      std::printf("%-16s %6d %6d %9ld %12.3f %10.3f %12.3f %8.1f%%%s\n", names[i].c_str(), image.width,
                  image.height, sizes[i], a, Best(extractTimes), p, 100.0 * (a - p) / p,
                  same ? "" : "  (pixels differ!)");
    } else {
      std::printf("%-16s %6d %6d %9ld %12.3f %10.3f %12s\n", names[i].c_str(), image.width, image.height, sizes[i],
                  a, Best(extractTimes), "-");
    }
  }
  std::printf("\n%-16s %36.3f %23.3f %8.1f%%\n", "total", archiveTotal, plainTotal,
              plainTotal > 0 ? 100.0 * (archiveTotal - plainTotal) / plainTotal : 0.0);
  for (const std::string& file : files) std::remove(file.c_str());
  std::remove((std::string(folder) + "/stand_in.zip").c_str());
  std::remove(folder);
  return 0;
}
