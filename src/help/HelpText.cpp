#include "help/HelpText.h"

// Line breaks and the blanks before them are part of the text as the user reads it.
const char* const helpText =
    "Firmware Update Procedure. \n"
    "The procedure requires a PC or Mac with a standard USB Interface and a 9V/100mA DC power supply. \n"
    "\n"
    "Do following steps before you start the firmware update application on your PC or Mac: \n"
    " 1. Unplug all cables from the pedal. \n"
    " 2. Remove the battery. \n"
    " 3. Connect the pedal to a PC or Mac with the USB cable. \n"
    " 4. Press and hold the footswitch on the pedal. \n"
    " 5. Insert a DC plug with 9V/100mA power supply. \n"
    " 6. Check that the LED on the pedal turns on with green light. \n"
    " 7. Release the footswitch. \n"
    "\n"
    "Now your PC or Mac will recognize the pedal which is ready to receive a new firmware: \n"
    " 8. Launch the firmware update application. \n"
    " 9. (STEP1) Select the pedal in the combo box (see note). \n"
    "10. (STEP2) Press the update button when it turns green. \n"
    "11. Wait for the progress bar to reach 100% and for the pedal to automatically restart. \n"
    "\n"
    "Note: You should select \"USB Audio Device\", if you use Windows XP.\n"
    "\n"
    "\n"
    "Trouble Shooting:\n"
    " - Please quit any MIDI related application on your PC or Mac.\n";

const char* const ifTheUpdateStopsText =
    "\n"
    "If the update stops:\n"
    " - When the window says that the update did not complete (for example because the output device was "
    "disconnected), the pedal does not have the new firmware yet. Start the pedal in its update mode again "
    "(steps 1 to 7), choose it under STEP1 if it is not chosen already, and press update: the update starts "
    "again from the beginning.\n"
    " - If updates keep failing with the same USB interface, start the application with --pause 100 (up to "
    "200) for a short wait after each message.\n";
