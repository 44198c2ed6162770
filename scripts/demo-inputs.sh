# shellcheck shell=bash
# The demo signals on the virtual instrument's inputs: what ./scripts/run.sh
# shows when no instrument is attached, and what the README's screenshots
# show. Both lie well inside the ±1 V range the window starts with, and the
# square's period holds four of the sine's, so the picture stands still.
# Sourced by scripts/run.sh and scripts/screenshots.sh.
# shellcheck disable=SC2034  # used by the scripts that source this file
demo_inputs=(--input1 "sine,1000,0.5" --input2 "square50,250,0.3")
demo_inputs_text="a 1 kHz sine of 0.5 V on channel 1, a 250 Hz square of 0.3 V on channel 2"
