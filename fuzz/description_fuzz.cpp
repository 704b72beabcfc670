// The description parser on arbitrary INI text, with a small package of
// images for the names it may pick.

#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/1_data/bmp_file.h"
#include "skin/1_data/skin_description.h"
#include "skin/1_data/skin_package_writer.h"
#include "skin/1_data/skin_reader.h"

namespace {
const qm::TSkinReader& Images() {
  static qm::TSkinReader* reader = [] {
    auto* r = new qm::TSkinReader;
    qm::TMemoryStream packed(qm::PackSkin({
        {"a.bmp", qm::SaveBmp(qm::TSkinImage(114, 17))},
        {"b.bmp", qm::SaveBmp(qm::TSkinImage(180, 14))},
        {"c.bmp", qm::SaveBmp(qm::TSkinImage(5, 1))},
        {"e.bmp", {}},
        {"f.bmp", {'B', 'M', 0, 0}},
    }));
    r->ReadSkin(packed);
    return r;
  }();
  return *reader;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  qm::TSkinDescription skin;
  skin.LoadDescription(qm::TIniText(text), Images());
  (void)qm::DescribeSkin(skin);
  (void)qm::TSkinDescription::ParseColour(text, 0);
  return 0;
}
