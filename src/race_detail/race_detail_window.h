#pragma once

#include "views/race_detail/race_detail_load.h"

#include <QWidget>

namespace torvanu {

// One race's splits, half split, fastest and slowest km, and pace per km against the even
// pace. It shows what it was given and reads nothing itself; each opening makes a window of
// its own, so that two races can be looked at side by side.
class RaceDetailWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RaceDetailWindow(RaceDetailData data, QWidget* parent = nullptr);

    const RaceDetailData& data() const { return m_data; }

private:
    RaceDetailData m_data;
};

} // namespace torvanu
