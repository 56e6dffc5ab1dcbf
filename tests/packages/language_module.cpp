// A language resource module holds resources only; the system needs one piece of code to link it.
extern "C" int LanguageModuleMarker() { return 0; }
