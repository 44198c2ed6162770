// Resource identifiers shared by the resource script and the program.
#pragma once

#define VELMORA_ICON 1
