#include "skintool.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "skin/1_data/lzh.h"
#include "skin/1_data/lzh_encoder.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/skin_package_writer.h"
#include "skin/1_data/skin_reader.h"

namespace qm {

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr const char* Usage =
    "usage: skintool lzh-encode IN OUT\n"
    "       skintool lzh-decode IN OUT\n"
    "       skintool pack DIR OUT      (members in the order of DIR/members.txt)\n"
    "       skintool list SKIN\n"
    "       skintool extract SKIN NAME OUT\n"
    "       skintool describe SKIN\n";

fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

struct EToolError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Shown(const fs::path& path) {
  const std::u8string u8 = path.u8string();
  std::string shown(1, '\'');
  shown.append(u8.begin(), u8.end());
  shown += '\'';
  return shown;
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EToolError("cannot open " + Shown(path));
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EToolError("cannot read " + Shown(path));
  return bytes;
}

// Writes beside the target first so that a failed write never leaves a
// half-written file in place of a good one.
void WriteFile(const fs::path& path, const Bytes& bytes) {
  const std::string shown = Shown(path);
  fs::path temp = path;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw EToolError("cannot create " + shown);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw EToolError("cannot write " + shown);
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw EToolError("cannot replace " + shown);
  }
}

TSkinReader OpenSkin(const std::string& file) {
  TMemoryStream packed(ReadFile(PathOf(file)));
  TSkinReader reader;
  if (!reader.ReadSkin(packed)) throw EToolError("'" + file + "' refused: " + reader.LastError);
  return reader;
}

std::vector<std::string> MemberList(const fs::path& dir) {
  const Bytes text = ReadFile(dir / "members.txt");
  std::vector<std::string> names;
  for (std::string line : SplitSkinLines(std::string(text.begin(), text.end()))) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    if (start < line.size()) names.push_back(line.substr(start));
  }
  return names;
}

int Pack(const std::string& dir, const std::string& out) {
  std::vector<TSkinMember> members;
  for (const std::string& name : MemberList(PathOf(dir))) members.push_back({name, ReadFile(PathOf(dir) / PathOf(name))});
  if (members.size() > static_cast<size_t>(SkinMaxMembers))
    throw EToolError("a skin holds at most " + std::to_string(SkinMaxMembers) + " members");
  WriteFile(PathOf(out), PackSkin(members));
  return 0;
}

int List(const std::string& skin, std::ostream& out) {
  const TSkinReader reader = OpenSkin(skin);
  out << "version = " << reader.PackageVersion << '\n';
  out << "members = " << reader.Count << '\n';
  for (int i = 0; i < reader.Count; ++i) out << reader.Names[i] << " = " << reader.Sizes[i] << '\n';
  return 0;
}

int Extract(const std::string& skin, const std::string& name, const std::string& file) {
  const TSkinReader reader = OpenSkin(skin);
  bool known = false;
  for (const auto& n : reader.Names) known = known || n == SkinLowerCase(name);
  if (!known) throw EToolError("no member '" + name + "' in '" + skin + "'");
  TMemoryStream member;
  reader.GetMember(name, member);
  WriteFile(PathOf(file), member.Bytes());
  return 0;
}

int Describe(const std::string& skin, std::ostream& out) {
  TMemoryStream packed(ReadFile(PathOf(skin)));
  TSkinDescription description;
  std::string error;
  if (!description.LoadPackage(packed, &error)) throw EToolError("'" + skin + "' refused: " + error);
  out << DescribeSkin(description);
  return 0;
}

}  // namespace

int RunSkintool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? std::string() : args[0];
  const size_t n = args.size();
  try {
    if (command == "lzh-encode" && n == 3) {
      WriteFile(PathOf(args[2]), LzhEncode(ReadFile(PathOf(args[1]))));
      return 0;
    }
    if (command == "lzh-decode" && n == 3) {
      const Bytes in = ReadFile(PathOf(args[1]));
      if (in.size() < 4) throw EToolError("'" + args[1] + "' is too short for an LZH stream");
      WriteFile(PathOf(args[2]), LzhDecode(in.data(), in.size(), SkinMaxDecodedSize));
      return 0;
    }
    if (command == "pack" && n == 3) return Pack(args[1], args[2]);
    if (command == "list" && n == 2) return List(args[1], out);
    if (command == "extract" && n == 4) return Extract(args[1], args[2], args[3]);
    if (command == "describe" && n == 2) return Describe(args[1], out);
  } catch (const std::exception& e) {
    err << "skintool: " << e.what() << '\n';
    return 1;
  }
  err << Usage;
  return 2;
}

}  // namespace qm
