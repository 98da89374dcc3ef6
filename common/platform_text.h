#pragma once

// Letters of the user's code page count as letters (IsCharAlphaNumericA);
// a native build for fuzzing falls back to the C locale.
bool IsLetterOrDigit(unsigned char c);
