// The product list in the registry.
#include "app/command_line_info.h"

// Waits for the registry store; until it is there nothing is written.
void writeProductList(const CStringList&) {}
