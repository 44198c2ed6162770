// velmora-capture: frames of the instrument to CSV files.
#include "cli/CaptureCommand.h"

int main(int argc, char** argv) {
    return velmora::RunOnThisSystem(argc, argv, velmora::RunCaptureCommand);
}
