// make-demo [FOLDER]: writes the demo survey as FOLDER/demo.las (LAS 2.0)
// and FOLDER/demo.txt (the raw survey file the converter makes of it).
#include "convert/LasConverter.h"
#include "examples/DemoSurvey.h"
#include "textio/NumberText.h"
#include "textio/SafeFile.h"

#include <cmath>
#include <cstdio>
#include <string>

using namespace convert;

namespace {

const char* const kLasVersion =
    "~VERSION INFORMATION\r\n"
    " VERS.                 2.0 :   CWLS LOG ASCII STANDARD - VERSION 2.0\r\n"
    " WRAP.                  NO :   ONE LINE PER DEPTH STEP\r\n";

const char* const kWellColumns =
    "#MNEM.UNIT      DATA                        DESCRIPTION\r\n"
    "#---------      -------------------------   ------------------------\r\n";

const char* const kParameterColumns =
    "#MNEM.UNIT      VALUE                       DESCRIPTION\r\n"
    "#---------      -------------------------   ------------------------\r\n";

const char* const kCurves =
    "~CURVE INFORMATION\r\n"
    "#MNEM.UNIT      API CODE                    CURVE DESCRIPTION\r\n"
    "#---------      -------------------------   ------------------------\r\n"
    " DEPT.M                                   : DEPTH\r\n"
    " MAGX.G                                   : MagX\r\n"
    " MAGY.G                                   : MagY\r\n"
    " MAGZ.G                                   : MagZ\r\n"
    " ACCX.M/S2                                : AccX\r\n"
    " ACCY.M/S2                                : AccY\r\n"
    " ACCZ.M/S2                                : AccZ\r\n";

const char* const kDataHead =
    "~OTHER\r\n"
    "     Three-axis magnetometer and accelerometer probe, logged downwards.\r\n"
    "~A  DEPTH       MAGX       MAGY       MAGZ       ACCX       ACCY       ACCZ\r\n";

void HeaderLine(std::string& out, const char* mnemonic, const std::string& data, const char* description)
{
    textio::AppendFormat(out, " %-15s%-26s: %s\r\n", mnemonic, data.c_str(), description);
}

// The header, with the site, date and field of the demo's collar.
std::string LasHead()
{
    static const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const geomag::Date& date = demo::kSurveyDate;
    const geomag::MagneticField field = demo::MainField(demo::kHeight);
    std::string head = kLasVersion;
    head += "~WELL INFORMATION\r\n";
    head += kWellColumns;
    HeaderLine(head, "STRT.M", "0.000", "START DEPTH");
    HeaderLine(head, "STOP.M", "400.000", "STOP DEPTH");
    HeaderLine(head, "STEP.M", "0.100", "STEP");
    HeaderLine(head, "NULL.", "-999.25", "NULL VALUE");
    HeaderLine(head, "COMP.", "HARROWDEN MINERALS", "COMPANY");
    HeaderLine(head, "WELL.", "HDD-017", "WELL");
    HeaderLine(head, "FLD .", "NORTH LOBE", "FIELD");
    HeaderLine(head, "LOC .", textio::Format("E %.0f N %.0f", demo::kEasting, demo::kNorthing), "LOCATION");
    HeaderLine(head, "PROJ.", textio::Format("EPSG:%d", demo::kEpsg), "WGS 84 / UTM ZONE 29N");
    HeaderLine(head, "CTRY.", "IRELAND", "COUNTRY");
    HeaderLine(head, "SRVC.", "BOREHOLE MAGNETICS", "SERVICE COMPANY");
    HeaderLine(head, "DATE.", textio::Format("%02d-%s-%04d", date.day, kMonths[date.month - 1], date.year), "LOG DATE");
    head += kCurves;
    head += "~PARAMETER INFORMATION\r\n";
    head += kParameterColumns;
    // The field IGRF-14 gives at the collar; the declination east of true north.
    HeaderLine(head, "BFLD.G", textio::Format("%.5f", field.totalNt * 1e-5), "EARTH FIELD STRENGTH");
    HeaderLine(head, "BDIP.DEG", textio::Format("%.2f", field.inclinationDegrees), "EARTH FIELD DIP");
    HeaderLine(head, "DECL.DEG", textio::Format("%.2f", field.declinationDegrees), "MAGNETIC DECLINATION");
    head += kDataHead;
    return head;
}

bool WriteLas(const std::string& path)
{
    textio::SafeFileWriter out(path);
    if (out.Open() != textio::SafeFileWriter::Status::Ok)
        return false;
    out.Write(LasHead());
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
    if (!std::isfinite(demo::MainField(demo::kHeight).totalNt)) {
        std::fprintf(stderr, "make-demo: IGRF-14 gives no field at the collar on the survey's date\n");
        return 1;
    }
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
