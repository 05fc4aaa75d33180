#pragma once
// The texts a transposition shows when a string cannot be moved. Lines break with CR LF.

#include <string>

namespace orvena {

// The lever position of source string s names no degree; the transposition goes on.
std::string source_degree_unknown_message(int s, int position);

// The target degree t = d + total lies outside the degree list; the transposition goes on.
struct DegreeOverflow {
    int source_string;
    int source_degree;
    int degree_step;
    int fine;
    int total;
    int target_string;
    int target_degree;
};
std::string degree_overflow_message(const DegreeOverflow& o);

// The target degree is not played on the target string; the transposition is cancelled.
// first_string and second_string are the first two places of the target degree.
std::string transposition_cancelled_message(int s, int position, int target_string,
                                            int first_string, int second_string);

}  // namespace orvena
