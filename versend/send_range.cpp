#include "versend/form1.h"

namespace versend {

void Form1::Command6_Click() {}

}  // namespace versend
