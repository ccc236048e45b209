// The show's run-time error report: the failing address and the stack in
// the "Error" box. The start-up installs ShowRunTimeError as the report.
#pragma once

// Shows the report; called from RunTimeError, whose caller is the failing
// address.
void ShowRunTimeError(int code);
// The report text itself: "Runtime error C at 0xADDR" and the stack lines.
void FormatRunTimeError(char *out, int outSize, int code, void *const *stack, int depth);
