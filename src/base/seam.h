// seam: puts every test seam back in one call (prefix Seam). A module with seams (a replaced table of
// system calls, an XxxSetHook answer, an XxxFailNth fault) has one function that puts all of its seams
// back; it registers that function whenever one of its seams is set, and SeamResetAll, which the test
// programs run after every test, calls each registered function once.
#pragma once

typedef void (*SeamResetFn)();

// Registering the same function again changes nothing.
void SeamRegisterReset(SeamResetFn reset);
void SeamResetAll();

// An injected fault: XxxFailNth(n, count) fails `count` calls from the nth from now on (n = 1: the next call;
// count -1: that call and every later one, as a full disk does); n = 0 turns it off.
struct SeamFault {
    int countdown; // calls left before the first failure; 0 when off
    int count;     // failures still to give once the countdown has run out; -1 without end
};
void SeamFaultSet(SeamFault *fault, int n, int count);
bool SeamFaultHit(SeamFault *fault); // true when this call must fail
