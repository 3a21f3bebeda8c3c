#pragma once
// Archives for the scene's tests: the committed data folder (TELLARO_DATA_DIR) read member
// by member, packed into an in-memory ZIP of stored members, with members left out or
// replaced to provoke each loading failure.
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace scene_data {

struct Member {
  std::string name;
  std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  bytes.resize(size > 0 ? static_cast<size_t>(size) : 0);
  if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
  std::fclose(file);
  return bytes;
}

inline bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Every file of the data folder, sorted by name.
inline std::vector<Member> DataMembers() {
  std::vector<Member> members;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(TELLARO_DATA_DIR, error)) {
    if (!entry.is_regular_file()) continue;
    members.push_back({entry.path().filename().string(), ReadFile(entry.path().string())});
  }
  std::sort(members.begin(), members.end(), [](const Member& a, const Member& b) { return a.name < b.name; });
  return members;
}

inline std::vector<uint8_t> DataFile(const std::string& name) {
  for (Member& member : DataMembers())
    if (SameName(member.name, name)) return member.bytes;
  return {};
}

inline std::vector<Member> Without(std::vector<Member> members, const std::string& name) {
  std::vector<Member> kept;
  for (Member& member : members)
    if (!SameName(member.name, name)) kept.push_back(std::move(member));
  return kept;
}

inline std::vector<Member> Replacing(std::vector<Member> members, const std::string& name, std::vector<uint8_t> bytes) {
  members = Without(std::move(members), name);
  members.push_back({name, std::move(bytes)});
  return members;
}

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xffffu);
  Put16(out, v >> 16);
}

// A ZIP archive of stored (uncompressed) members.
inline std::vector<uint8_t> Zip(const std::vector<Member>& members) {
  std::vector<uint8_t> out, directory;
  for (const Member& member : members) {
    const uint32_t offset = static_cast<uint32_t>(out.size());
    const uint32_t size = static_cast<uint32_t>(member.bytes.size());
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0L, member.bytes.empty() ? nullptr : member.bytes.data(), static_cast<uInt>(member.bytes.size())));
    const uint32_t nameLength = static_cast<uint32_t>(member.name.size());
    Put32(out, 0x04034b50u);
    Put16(out, 10);  // version needed
    Put16(out, 0);   // flags
    Put16(out, 0);   // stored
    Put16(out, 0);   // time
    Put16(out, 0x21);  // date 1980-01-01
    Put32(out, crc);
    Put32(out, size);
    Put32(out, size);
    Put16(out, nameLength);
    Put16(out, 0);
    out.insert(out.end(), member.name.begin(), member.name.end());
    out.insert(out.end(), member.bytes.begin(), member.bytes.end());

    Put32(directory, 0x02014b50u);
    Put16(directory, 20);
    Put16(directory, 10);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0x21);
    Put32(directory, crc);
    Put32(directory, size);
    Put32(directory, size);
    Put16(directory, nameLength);
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory.insert(directory.end(), member.name.begin(), member.name.end());
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), directory.begin(), directory.end());
  Put32(out, 0x06054b50u);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);
  return out;
}

// The members LoadSceneResources reads, in the order it reads them.
inline std::vector<std::string> SceneMembersInOrder() {
  std::vector<std::string> names;
  for (int n = 1; n <= 10; ++n) names.push_back("flare" + std::to_string(n) + ".jpg");
  names.push_back("atmos.jpg");
  for (int n = 0; n <= 3; ++n) names.push_back("surface" + std::to_string(n) + ".jpg");
  names.push_back("phobos2.jpg");
  names.push_back("phobos2.dat");
  return names;
}

}  // namespace scene_data
