// Compiled into every program that links the skin engine (an interface
// source of qm_skin, so that no linker can leave it out for want of a
// reference): before main runs, the skin data components learn where their
// engine is made.
#include "skin/5_manage/skin_manage.h"

namespace {

[[maybe_unused]] const bool EngineFound = (qm::SetSkinEngineFinder(&qm::TSkinManage::Engine), true);

}  // namespace
