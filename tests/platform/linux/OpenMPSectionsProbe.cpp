// A shared library with a `parallel sections` region, reached through libgomp's entry points by a call across a
// library boundary the way libtesseract's recogniser reaches them.
#include <omp.h>

extern "C" __attribute__((visibility("default"))) void runProbeSections(void (*record)(int section, int level))
{
#pragma omp parallel sections num_threads(4)
    {
#pragma omp section
        record(1, omp_get_level());
#pragma omp section
        record(2, omp_get_level());
#pragma omp section
        record(3, omp_get_level());
    }
}
