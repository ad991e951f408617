#pragma once

#include "ScratchFolder.h"
#include "batch/RunBatch.h"

#include <sstream>
#include <string>
#include <vector>

// kestrix-batch run in-process, on files in a scratch folder of its own.
class BatchRunner {
protected:
    int Batch(const std::vector<std::string>& args)
    {
        out.str("");
        err.str("");
        return RunBatch(args, out, err);
    }

    ScratchFolder m_folder;
    const std::string m_dir = m_folder.Path();
    std::ostringstream out, err;
};
