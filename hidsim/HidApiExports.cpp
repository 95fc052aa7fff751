#include "hidsim/SimExports.h"

#include "hidsim/Secrecy.h"

extern "C" {

int OpenUSB(BYTE*) { return 0; }
int WriteUSB(BYTE*) { return 0; }
int ReadUSB(BYTE*) { return 0; }
int SetFeature(BYTE*) { return 0; }
int GetFeature(BYTE*) { return 0; }
int CloseUSB(BYTE*) { return 0; }
int InitUSB(BYTE*) { return 0; }
int LoadPCtimer(BYTE*) { return 0; }
int change_PCTimer(BYTE*) { return 0; }

int EncodeSecrecy_V11(BYTE* frame) {
    if (frame == nullptr) return 0;
    secrecy::EncodeFrame(frame);
    return 1;
}

int DecodeSecrecy_V11(BYTE* frame) {
    if (frame == nullptr) return 0;
    secrecy::DecodeFrame(frame);
    return 1;
}

int SavePCtimerWithInDLL(BYTE* buffer) { return buffer != nullptr ? 1 : 0; }

}  // extern "C"
