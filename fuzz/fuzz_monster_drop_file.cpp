// MonsterDropBoxs.txt: any bytes read without a fault, and saving what was read is a fixed point.
#include "FuzzSupport.h"
#include "data/MonsterDropParser.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::silenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::checkSaveIsFixedPoint<MonsterDropParser, MonsterDropData>(MonsterDropParser(20),
                                                                           data, size);
    return 0;
}
