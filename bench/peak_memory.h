#pragma once

namespace torvanu::bench {

// The process's peak resident memory (VmHWM) in kB, or -1 where the system does not say.
long long peakResidentKilobytes();

} // namespace torvanu::bench
