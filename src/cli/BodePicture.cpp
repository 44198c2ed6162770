#include "cli/BodePicture.h"
namespace velmora {
std::string BodePlotPng(const std::vector<ResponsePoint>&) { return {}; }
}
