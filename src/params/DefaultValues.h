#pragma once

class MmsStore;

// What a freshly reset current memory gets written before a conversion:
// every FX and GEQ rack emptied, FX racks and input channels unpatched.
// Fixed sequences of single writes; refused writes are logged by the store
// and the sequence goes on.
class DefaultValues
{
public:
    static constexpr int FxRacks = 16;
    static constexpr int FxValues = 64;
    static constexpr int GeqRacks = 32;
    // All input channels: the last one completes the batched patch writes,
    // so they reach the console at once.
    static constexpr int InputChannels = 120;

    explicit DefaultValues(const MmsStore& store);

    void SetFxEffectDefaultValue();
    void SetGEQDefaultValue();

private:
    const MmsStore& m_store;
};
