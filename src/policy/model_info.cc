#include "policy/model_info.h"

ModelInfo gModelInfo = {-1, -1};

const char* ModelKindName(int32_t kind) {
  switch (kind) {
    case Ink: return "Ink";
    case MonoLaser: return "MonoLaser";
    case ColorLaser: return "ColorLaser";
    case SInk: return "SInk";
    default: return "Unknown";
  }
}

int32_t determineModel(ppd_file_t* ppd) {
  if (ppd == nullptr) return -1;
  gModelInfo.kind = ppd->color_device != 0 ? ColorLaser : MonoLaser;
  gModelInfo.modelNumber = ppd->model_number;
  return ppdFindAttr(ppd, "cupsCommands", nullptr) != nullptr ? 1 : -1;
}
