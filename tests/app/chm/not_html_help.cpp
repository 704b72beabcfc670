// A library that loads fine but is no help library: it lacks HtmlHelpA.
extern "C" __declspec(dllexport) int NotHtmlHelp() { return 1; }
