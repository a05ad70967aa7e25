#include "versend/form1.h"

namespace versend {

void Form1::cmdcreate_Click() {}

}  // namespace versend
