#pragma once

#include "calc/pace.h"

#include <QStringList>

#include <string>

// The five calculator texts of a test row (distance, unit, hours, minutes, seconds), kept
// alive for the views calc takes.
struct Inputs
{
    std::u16string texts[5];

    explicit Inputs(const QStringList& list)
    {
        for (int i = 0; i < 5; ++i)
            texts[i] = list.value(i).toStdU16String();
    }

    torvanu::CalcInputs view() const { return {texts[0], texts[1], texts[2], texts[3], texts[4]}; }
};
