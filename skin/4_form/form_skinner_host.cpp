#include "skin/4_form/form_skinner_host.h"

namespace qm {

namespace {

TFormSkinnerHost* Host = nullptr;

}  // namespace

TFormSkinnerHost* FormSkinnerHost() { return Host; }

void SetFormSkinnerHost(TFormSkinnerHost* NewHost) { Host = NewHost; }

}  // namespace qm
