// Receives the progress of a full profile write (0 to 100). The progress
// dialog implements it.
#pragma once

class ProgressSink {
public:
    virtual void SetProgress(int position) = 0;

protected:
    ~ProgressSink() = default;
};
