#include "BenchDescription.h"

IFileDescription* BenchDescription::GetSource() const
{
    return const_cast<BenchDescription*>(this);
}

IFileDescription* BenchDescription::GetTarget() const
{
    return nullptr;
}

std::string BenchDescription::GetSourceMixerId() const
{
    return "RQ10";
}

std::string BenchDescription::GetTargetMixerId() const
{
    return "QORA";
}

void BenchDescription::SetOption(QString, int)
{
}

int BenchDescription::GetOption(QString) const
{
    return -1;
}

std::string BenchDescription::GetPath() const
{
    return "bench.rq10";
}

std::string BenchDescription::GetFileType() const
{
    return "RQ10";
}
