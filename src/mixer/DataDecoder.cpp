#include "mixer/DataDecoder.h"

void DataDecoder::Begin(const void*, unsigned int)
{
}

int DataDecoder::Decode(int, void*, unsigned int*)
{
    return 0;
}

void DataDecoder::Release()
{
    delete this;
}
