// Compiled by the layer tests: a library's include root must hide the headers
// of the layers above it.
#include KINEMO_PROBE_HEADER
