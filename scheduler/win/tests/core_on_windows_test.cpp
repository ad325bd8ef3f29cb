// The portable core's own tests, run again on the Windows runtime: the
// number readings lean on the C++ library's conversions, and MinGW's must
// give the same answers as the native one.
#include "scheduler/tests/number_readings_test.cpp"
#include "scheduler/tests/slot_list_file_test.cpp"
#include "scheduler/tests/slot_arming_test.cpp"
#include "scheduler/tests/slot_tick_test.cpp"
#include "scheduler/tests/dtmf_handler_test.cpp"

