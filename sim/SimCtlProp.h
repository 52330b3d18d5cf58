// quendasim-ctl's card property commands, through the card's vendor control object:
//
//   quendasim-ctl prop get N            the bytes of property N (1..5), in decimal
//   quendasim-ctl prop set N byte...    writes property N; exactly its size in bytes
//                                       (decimal or 0x.. hexadecimal, 0..255)
#pragma once

#include <string>

constexpr const char* kSimPropUsage = "prop get N | prop set N byte...";

// args are the words after "prop". Returns the program's exit code: 0 done, 1 refused by
// the card or no control object, 2 bad arguments (a message is printed for both).
int SimPropCommand(const std::string& driverPath, int argc, char** args);
