#pragma once
// The program's one current printer, chosen in the printer setup and used by every printout.
class QPrinter;

QPrinter &CurrentPrinter();
