// make-demo [FOLDER]: writes the demo survey as FOLDER/demo.las (LAS 2.0)
// and FOLDER/demo.txt (the raw survey file the converter makes of it).
#include "convert/LasConverter.h"
#include "examples/DemoSurvey.h"
#include "textio/NumberText.h"
#include "textio/SafeFile.h"

#include <cstdio>
#include <string>

using namespace convert;

namespace {

const char* const kLasHead =
    "~VERSION INFORMATION\r\n"
    " VERS.                 2.0 :   CWLS LOG ASCII STANDARD - VERSION 2.0\r\n"
    " WRAP.                  NO :   ONE LINE PER DEPTH STEP\r\n"
    "~WELL INFORMATION\r\n"
    "#MNEM.UNIT      DATA                        DESCRIPTION\r\n"
    "#---------      -------------------------   ------------------------\r\n"
    " STRT.M         0.000                     : START DEPTH\r\n"
    " STOP.M         400.000                   : STOP DEPTH\r\n"
    " STEP.M         0.100                     : STEP\r\n"
    " NULL.          -999.25                   : NULL VALUE\r\n"
    " COMP.          HARROWDEN MINERALS        : COMPANY\r\n"
    " WELL.          HDD-017                   : WELL\r\n"
    " FLD .          NORTH LOBE                : FIELD\r\n"
    " LOC .          E 512430 N 7034815        : LOCATION\r\n"
    " SRVC.          BOREHOLE MAGNETICS        : SERVICE COMPANY\r\n"
    " DATE.          14-MAR-2024               : LOG DATE\r\n"
    "~CURVE INFORMATION\r\n"
    "#MNEM.UNIT      API CODE                    CURVE DESCRIPTION\r\n"
    "#---------      -------------------------   ------------------------\r\n"
    " DEPT.M                                   : DEPTH\r\n"
    " MAGX.G                                   : MagX\r\n"
    " MAGY.G                                   : MagY\r\n"
    " MAGZ.G                                   : MagZ\r\n"
    " ACCX.M/S2                                : AccX\r\n"
    " ACCY.M/S2                                : AccY\r\n"
    " ACCZ.M/S2                                : AccZ\r\n"
    "~PARAMETER INFORMATION\r\n"
    "#MNEM.UNIT      VALUE                       DESCRIPTION\r\n"
    "#---------      -------------------------   ------------------------\r\n"
    " BFLD.G         0.52000                   : EARTH FIELD STRENGTH\r\n"
    " BDIP.DEG       68.0                      : EARTH FIELD DIP\r\n"
    " DECL.DEG       12.5                      : MAGNETIC DECLINATION\r\n"
    "~OTHER\r\n"
    "     Three-axis magnetometer and accelerometer probe, logged downwards.\r\n"
    "~A  DEPTH       MAGX       MAGY       MAGZ       ACCX       ACCY       ACCZ\r\n";

bool WriteLas(const std::string& path)
{
    textio::SafeFileWriter out(path);
    if (out.Open() != textio::SafeFileWriter::Status::Ok)
        return false;
    out.Write(kLasHead);
    demo::SurveyGenerator generator;
    std::string line;
    for (int i = 0; i < demo::kSampleCount; ++i) {
        const demo::Sample s = generator.Next(i);
        line.clear();
        textio::AppendFormat(line, "%8.3f %10.5f %10.5f %10.5f %10.5f %10.5f %10.5f\r\n", s.depth, s.magX, s.magY,
                             s.magZ, s.accX, s.accY, s.accZ);
        out.Write(line);
    }
    return out.Commit() == textio::SafeFileWriter::Status::Ok;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    const std::string lasPath = folder + "/demo.las";
    const std::string rawPath = folder + "/demo.txt";
    if (!WriteLas(lasPath)) {
        std::fprintf(stderr, "make-demo: cannot write %s\n", lasPath.c_str());
        return 1;
    }
    const Collar collar{demo::kEasting, demo::kNorthing, demo::kHeight, demo::kDeclination};
    const ConvertResult result = ConvertLasFile(lasPath, rawPath, collar);
    if (!result.Ok()) {
        std::fprintf(stderr, "make-demo: %s\n", result.message.c_str());
        return 1;
    }
    std::printf("%s\n%s\n", lasPath.c_str(), rawPath.c_str());
    return 0;
}
