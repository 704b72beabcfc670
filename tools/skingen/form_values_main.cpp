// skinform: writes the stored values of the main form's skin data component
// around a packed skin, for embedding in the program as a resource.
//
//   skinform SKIN.skn OUT

#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "skin/1_data/skin_data_core.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: skinform SKIN.skn OUT\n";
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot open ") + argv[1]);
    const std::vector<std::uint8_t> packed((std::istreambuf_iterator<char>(in)), {});
    if (packed.empty()) throw std::runtime_error(std::string(argv[1]) + " is empty");
    const auto bytes = qm::WriteStoredValues(qm::MainFormSkinDataValues(packed));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "skinform: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
