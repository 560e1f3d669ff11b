// seam: puts every test seam back in one call (prefix Seam). A module with seams (a replaced table of
// system calls, an XxxSetHook answer, an XxxFailNth fault) has one function that puts all of its seams
// back; it registers that function whenever one of its seams is set, and SeamResetAll, which the test
// programs run after every test, calls each registered function once.
#pragma once

typedef void (*SeamResetFn)();

// Registering the same function again changes nothing.
void SeamRegisterReset(SeamResetFn reset);
void SeamResetAll();
