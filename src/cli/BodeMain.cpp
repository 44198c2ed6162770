// velmora-bode: the frequency response of a circuit, from the instrument's
// own generator and both channels.
#include "cli/BodeCommand.h"

int main(int argc, char** argv) {
    return velmora::RunOnThisSystem(argc, argv, velmora::RunBodeCommand);
}
