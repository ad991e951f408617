#include "ConvertCommand.h"

#include <ostream>

int RunConvertCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err)
{
    err << "kestrix-batch: convert is not built\n";
    return 1;
}
