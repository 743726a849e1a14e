// DropBoxContent.txt: any bytes read without a fault, and saving what was read is a fixed point.
#include "FuzzSupport.h"
#include "data/DropBoxContentParser.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::silenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A small slot count keeps the written lines short; the reading rules are the same.
    FuzzSupport::checkSaveIsFixedPoint<DropBoxContentParser, DropBoxContentData>(
        DropBoxContentParser(8), data, size);
    return 0;
}
