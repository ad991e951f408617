#pragma once

#include <cstdio>
#include <string>

namespace textio {

// Which files a reader takes. The windowed programs take only regular files,
// so that a FIFO without a writer or a device never holds up their window;
// kestrix-batch also reads pipes and FIFOs named on its command line.
enum class ReadFrom { RegularFileOnly, AnyFile };

// Why a file could not be opened for reading.
enum class OpenFault { None, CannotOpen, NotARegularFile };

// Opens `path` for binary reading; null with `fault` set on failure. A folder
// cannot be opened (it opens but holds no text). With RegularFileOnly the
// open itself never waits, and anything but a regular file or folder (a FIFO,
// device or socket) is refused as NotARegularFile; reads from the file
// returned block as usual. With AnyFile opening a FIFO waits for its writer.
std::FILE* OpenForReading(const std::string& path, ReadFrom from, OpenFault& fault);

} // namespace textio
