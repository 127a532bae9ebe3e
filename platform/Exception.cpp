// The wordings the class library's errors share across the program.
#include "platform/Exception.h"

const TWording NotAFloatingPointValue{"'%1' is not a valid floating point value"};
const TWording StreamReadError{"Stream read error"};
const TWording ListIndexOutOfBounds{"List index out of bounds (%1)"};
