#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// kestrix-batch convert LAS [-o RAW] [--easting E] [--northing N] [--height H]
// [--declination D | --declination model SITE] [--map auto|DEPTH=MNEMONIC:UNIT,...],
// given the words after "convert". Exit status 0 on success, 2 on bad usage,
// 1 on any other failure (with a message on `err`).
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
