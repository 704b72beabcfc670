#pragma once
// A freshly created form on a recording host, with helpers that act the way
// a user does: store the new state, then raise the control's event.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gbk.h"
#include "main_form_model.h"
#include "test_host.h"

namespace qm::test {

class FormTest : public ::testing::Test {
 protected:
  explicit FormTest(const std::string& programDir = "C:\\QM") { Form.FormCreate(programDir); }

  void Type(TEditState& edit, const std::string& text) { Form.ReplaceEditText(edit, text); }
  void Keys(TEditState& edit, const std::string& keys) { Form.TypeKeys(edit, keys); }
  void Pick(TListState& list, int index) {
    list.ItemIndex = index;
    Form.ListSelected(list);
  }
  void Check(TCheckBoxState& box, bool checked) {
    if (box.Checked == checked) return;
    box.Checked = checked;
    Form.CheckBoxClicked(box);
  }
  void Click(TButtonState& button) { Form.ButtonClicked(button); }
  void ShowPage(int page) {
    Form.PageControl1.ActivePageIndex = page;
    Form.PageControl1Change();
  }
  // Selects entry index of the available list and presses ">".
  void Choose(int index) {
    Form.FenQuListBox0.ItemIndex = index;
    Click(Form.moveButton1);
  }
  void Generate() { Click(Form.RunButton); }

  // A written script as UTF-8 lines, after checking every line ends in CR LF.
  std::vector<std::string> ScriptLines(const std::string& path) {
    const std::string& bytes = Host.Files.at(path);
    std::string text;
    EXPECT_TRUE(GbkToUtf8(bytes, text));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find("\r\n", start);
      if (end == std::string::npos) {
        ADD_FAILURE() << "last line has no CR LF: " << text.substr(start);
        break;
      }
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }
  std::vector<std::string> Backup() { return ScriptLines(Form.BeiFenEdit.Text); }
  std::vector<std::string> Restore() { return ScriptLines(Form.HuifuEdit.Text); }

  TRecordingHost Host;
  TMainFormModel Form{Host};
};

// The checked-in expected script, byte for byte.
inline std::string ExpectedScript(const std::string& name) {
  std::ifstream in(std::string(QM_EXPECTED_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << "missing expected file " << name;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace qm::test
