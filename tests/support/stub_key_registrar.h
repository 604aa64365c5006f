// A registrar that reports one command's key taken and records what it applies.
#pragma once

#include <vector>

#include "dialog/keys_dialog.h"

struct StubKeyRegistrar : CKeyRegistrar
{
    void QueryTaken(bool* taken) override
    {
        ++queries;
        for (int command = 0; command < kKeyCommandCount; ++command)
            taken[command] = command == takenCommand;
    }
    void Apply(const KeyBindings& bindings) override { applied.push_back(bindings); }
    int takenCommand = kKeyCommandCount, queries = 0;
    std::vector<KeyBindings> applied;
};
