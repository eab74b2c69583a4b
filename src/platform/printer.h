#pragma once
// The program's one current printer: which printer, on what paper and which way round, as the
// printer setup chose. Nothing is printed on it directly: every job prints on a JobPrinter made
// from it, so that a file chosen in a job's print dialog, and whatever a failed job leaves in
// its printer, end with that job.
#include <QPrinter>

QPrinter &CurrentPrinter();

// A printer for one job, set up as the current printer is.
class JobPrinter : public QPrinter {
public:
    JobPrinter();
};
