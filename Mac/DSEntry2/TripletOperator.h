// The real data source's object, made by the target bundle's factory CreateTwainWrapper.
//
// Its virtual operations are a binary interface shared with the target: exactly five, in this
// slot order, and no virtual destructor (one would shift the slots). The monitor calls only
// OperateTriplet and Release.
#ifndef TWAINMON_TRIPLETOPERATOR_H
#define TWAINMON_TRIPLETOPERATOR_H

#include <CoreFoundation/CoreFoundation.h>

#include "TwainTypes.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class TripletOperator {
public:
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual TW_UINT16 OperateTriplet(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                     TW_MEMREF pData) = 0;
    virtual void Reserved4() = 0;
    virtual void Release() = 0;

protected:
    ~TripletOperator() {}  // the object is never deleted through this interface: Release ends it
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// The factory the target bundle exports by name: name is the file name of the monitor's own
// executable; the new object is stored into *ppOperator. Its result is not used.
typedef long (*CreateTwainWrapperProc)(CFStringRef name, TripletOperator** ppOperator);

#endif  // TWAINMON_TRIPLETOPERATOR_H
