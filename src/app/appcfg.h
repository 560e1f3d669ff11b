// appcfg: the configuration's side of the program's wiring (prefix AppConfig): the hooks through which the
// configuration reaches the window library and the owners of its sections that live in lower modules.
#pragma once

struct PrintSetup;

void AppWireConfig();

// The page setup the configuration keeps (slot 11) until the printing module takes it over.
PrintSetup *AppPrintSetup();
