// Any command line (words separated by newlines) against a typical option
// table: never a crash, an error is one line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "smf/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words{"prog"};
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            words.push_back(word);
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& w : words) {
        argv.push_back(w.c_str());
    }
    smf::Options options;
    options.define("a|ascii=b", "flag");
    options.define("2|binary=b", "digit alias");
    options.define("t|track=i:-1", "integer");
    options.define("p|pause=d:2.0", "double");
    options.define("mr|rest|max-rest=d:4.0 seconds", "double with words");
    options.define("n|name=s:data", "string");
    options.define("c|compile=s:", "empty string");
    options.define("pm|percussion-map=s", "no default");
    if (!options.process(static_cast<int>(argv.size()), argv.data(), 0, 0)) {
        if (options.getError().find('\n') != std::string::npos) {
            std::abort();
        }
        return 0;
    }
    (void)options.getInteger("track");
    (void)options.getDouble("rest");
    (void)options.getString("pm");
    for (int i = 1; i <= options.getArgCount(); ++i) {
        (void)options.getArg(i);
    }
    (void)options.listing();
    return 0;
}
