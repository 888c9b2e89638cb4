// The template language as anyone may write it in the template editor: every part runs to
// its end (or its abort) without crashing, and the lines it writes are all it writes.
#include "core/printing/templateinterpreter.h"
#include "fuzzsupport.h"

DISKARIUM_FUZZ_INIT

namespace {

// Every name is a field of some length, as a report's carrier fields are.
class AnyNames : public TemplateNames {
public:
    std::optional<TemplateValue> resolve(const QString& name) const override {
        if (name.isEmpty() || name.front() == QLatin1Char('x'))
            return std::nullopt; // unknown names print as themselves
        return TemplateValue{name.repeated(2), int(name.size() % 40)};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString part = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    StandardTemplateNames standard([] { return 3; }, QDate(2026, 12, 11));
    AnyNames any;
    TemplateInterpreter interpreter;
    interpreter.setNames({&standard, &any});
    int lines = 0, ends = 0;
    qsizetype written = 0;
    interpreter.writeLine = [&](const QString& line) {
        ++lines;
        written += line.size();
    };
    int asked = 0;
    interpreter.abortRequested = [&] { return ++asked > 100000; };
    interpreter.run(part, [&] { ++ends; });
    FUZZ_REQUIRE(ends <= TemplateInterpreter::lineCount(part));
    // Nothing grows without bound: each character yields at most one value of bounded size.
    FUZZ_REQUIRE(written <= qsizetype(size + 1) * 200);
    return 0;
}
