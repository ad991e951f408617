// kestrix-batch-plot: kestrix-batch with its plot command, which draws the
// plot views (Qt widgets) as pictures. kestrix-batch runs it for plot with
// the same words, so it answers every command line as kestrix-batch does.
#include "batch/BatchMain.h"
#include "batch/plot/BatchPlot.h"

int main(int argc, char** argv)
{
    return BatchMain(argc, argv, RenderBatchPlot);
}
