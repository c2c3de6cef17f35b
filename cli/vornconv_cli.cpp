// vornconv: converts temperatures and resistances of platinum resistance
// thermometers from the command line or a stream, and prints tables. It
// calls the library through its eight exports only.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vornconv.h"

namespace {

constexpr int exit_bad_lines = 1;
constexpr int exit_usage = 2;

const char* const usage_text =
    "usage: vornconv resistance  [OPTIONS] [T ...]   temperature -> resistance\n"
    "       vornconv temperature [OPTIONS] [R ...]   resistance -> temperature\n"
    "       vornconv table [OPTIONS] --from T --to T --step S\n"
    "       vornconv --help | --version\n"
    "\n"
    "Without values, reads one value a line from standard input; blank lines and\n"
    "lines starting with # pass through unchanged.\n"
    "\n"
    "options:\n"
    "  --r0 OHMS              nominal resistance at 0 degC (default 100)\n"
    "  --set IEC|1|US|3|user  coefficient set (default IEC)\n"
    "  --scale C|F|K          temperature scale (default C)\n"
    "  --user A,B,C           user set coefficients (implies --set user)\n"
    "  --alpha A --delta D --beta B\n"
    "                         user set from certificate values: A(1 + D/100),\n"
    "                         -A D/1e4, -A B/1e8 (delta and beta default to 0)\n"
    "  --format text|csv      output format (default text)\n"
    "  --digits N             N digits after the point (default: shortest exact)\n"
    "  --strict               a result that is NaN (no solution) is an error\n"
    "\n"
    "exit status: 0 all converted, 1 some input lines bad, 2 usage error\n";

// A usage error: one line on standard error, exit status 2, nothing on
// standard output (nothing has been written yet when these are found).
[[noreturn]] void usage_error(const std::string& message) {
    std::fprintf(stderr, "vornconv: %s\n", message.c_str());
    std::exit(exit_usage);
}

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A whole decimal number (an optional leading +, inf and nan included).
std::optional<double> parse_number(std::string_view text) {
    text = trim(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    double value;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

enum class mode { resistance, temperature, table };

struct options {
    mode what = mode::resistance;
    double r0 = 100.0;
    std::int32_t type = VORN_TYPE_IEC;
    bool type_given = false;
    std::int32_t scale = VORN_SCALE_CELSIUS;
    std::optional<double> user[3];
    std::optional<double> alpha, delta, beta;
    bool csv = false;
    int digits = -1;  // -1: shortest
    bool strict = false;
    std::optional<double> from, to, step;
    std::vector<std::string_view> values;
};

double number_option(std::string_view name, std::string_view value, const char* expected) {
    const std::optional<double> x = parse_number(value);
    if (!x) {
        usage_error(std::string(name) + ": expected " + expected + ", got '" + std::string(value) + "'");
    }
    return *x;
}

options parse_arguments(int argc, char** argv) {
    options o;
    if (argc < 2) {
        std::fputs(usage_text, stderr);
        std::exit(exit_usage);
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(usage_text, stdout);
        std::exit(0);
    }
    if (command == "--version") {
        std::int32_t version = 0;
        vorn_library_version(&version);
        std::printf("vornconv %d.%d (library version %d)\n", version / 100, version % 100, version);
        std::exit(0);
    }
    if (command == "resistance") {
        o.what = mode::resistance;
    } else if (command == "temperature") {
        o.what = mode::temperature;
    } else if (command == "table") {
        o.what = mode::table;
    } else {
        usage_error("unknown command '" + std::string(command) + "': expected resistance, temperature or table");
    }

    for (int i = 2; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.size() < 2 || arg.substr(0, 2) != "--" || arg == "--") {
            // A value; "--" ends the options, and a negative number is a value.
            if (arg == "--") {
                for (++i; i < argc; ++i) {
                    o.values.emplace_back(argv[i]);
                }
                break;
            }
            o.values.push_back(arg);
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> inline_value;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inline_value = arg.substr(eq + 1);
        }
        if (name == "--help") {
            std::fputs(usage_text, stdout);
            std::exit(0);
        }
        if (name == "--strict") {
            if (inline_value) {
                usage_error("--strict takes no value");
            }
            o.strict = true;
            continue;
        }
        static const char* const with_value[] = {"--r0",    "--set",   "--scale",  "--user", "--alpha", "--delta",
                                                 "--beta",  "--format", "--digits", "--from", "--to",    "--step"};
        bool known = false;
        for (const char* n : with_value) {
            known = known || name == n;
        }
        if (!known) {
            usage_error("unknown option '" + std::string(name) + "' (see vornconv --help)");
        }
        std::string_view value;
        if (inline_value) {
            value = *inline_value;
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            usage_error(std::string(name) + ": missing value");
        }

        if (name == "--r0") {
            o.r0 = number_option(name, value, "a resistance in ohms");
        } else if (name == "--set") {
            static const struct {
                const char* name;
                std::int32_t type;
            } sets[] = {{"IEC", 0}, {"0", 0}, {"1", 1}, {"US", 2}, {"2", 2}, {"3", 3}, {"user", 4}, {"4", 4}};
            bool found = false;
            for (const auto& s : sets) {
                if (value == s.name) {
                    o.type = s.type;
                    found = true;
                }
            }
            if (!found) {
                usage_error("--set: expected IEC, 1, US, 3 or user, got '" + std::string(value) + "'");
            }
            o.type_given = true;
        } else if (name == "--scale") {
            if (value == "C") {
                o.scale = VORN_SCALE_CELSIUS;
            } else if (value == "F") {
                o.scale = VORN_SCALE_FAHRENHEIT;
            } else if (value == "K") {
                o.scale = VORN_SCALE_KELVIN;
            } else {
                usage_error("--scale: expected C, F or K, got '" + std::string(value) + "'");
            }
        } else if (name == "--user") {
            std::string_view rest = value;
            for (int k = 0; k < 3; ++k) {
                const auto comma = rest.find(',');
                const std::string_view part = k < 2 ? rest.substr(0, comma) : rest;
                if ((k < 2 && comma == std::string_view::npos) || !(o.user[k] = parse_number(part))) {
                    usage_error("--user: expected three numbers A,B,C, got '" + std::string(value) + "'");
                }
                rest = k < 2 ? rest.substr(comma + 1) : std::string_view{};
            }
        } else if (name == "--alpha") {
            o.alpha = number_option(name, value, "a number (mean slope per degC)");
        } else if (name == "--delta") {
            o.delta = number_option(name, value, "a number");
        } else if (name == "--beta") {
            o.beta = number_option(name, value, "a number");
        } else if (name == "--format") {
            if (value != "text" && value != "csv") {
                usage_error("--format: expected text or csv, got '" + std::string(value) + "'");
            }
            o.csv = value == "csv";
        } else if (name == "--digits") {
            int digits = -1;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), digits);
            if (error != std::errc() || end != value.data() + value.size() || digits < 0 || digits > 30) {
                usage_error("--digits: expected a whole number from 0 to 30, got '" + std::string(value) + "'");
            }
            o.digits = digits;
        } else if (name == "--from") {
            o.from = number_option(name, value, "a temperature");
        } else if (name == "--to") {
            o.to = number_option(name, value, "a temperature");
        } else {
            o.step = number_option(name, value, "a temperature step");
        }
    }

    const bool user_form = o.user[0].has_value();
    const bool certificate_form = o.alpha || o.delta || o.beta;
    if (user_form && certificate_form) {
        usage_error("--user: give either --user or --alpha/--delta/--beta, not both");
    }
    if (certificate_form && !o.alpha) {
        usage_error("--delta/--beta: expected --alpha as well");
    }
    if ((user_form || certificate_form) && o.type_given && o.type != VORN_TYPE_USER) {
        usage_error("--set: user coefficients need --set user");
    }
    if (user_form || certificate_form) {
        o.type = VORN_TYPE_USER;
    }
    if (o.what == mode::table) {
        if (!o.values.empty()) {
            usage_error("table: unexpected value '" + std::string(o.values[0]) + "'");
        }
        if (!o.from || !o.to || !o.step) {
            usage_error(std::string("table: expected ") + (!o.from ? "--from" : !o.to ? "--to" : "--step"));
        }
        if (!std::isfinite(*o.from) || !std::isfinite(*o.to)) {
            usage_error("table: --from and --to must be finite");
        }
        if (!std::isfinite(o.r0)) {
            usage_error("--r0: a table needs a finite R0");
        }
        if (!std::isfinite(*o.step) || *o.step == 0.0 || (*o.to - *o.from) * *o.step < 0.0) {
            usage_error("--step: expected a finite, non-zero step towards --to");
        }
    } else if (o.from || o.to || o.step) {
        usage_error("--from/--to/--step: only for table");
    }
    return o;
}

void configure(const options& o) {
    vorn_set_r0(o.r0);
    vorn_set_scale(o.scale);
    if (o.user[0]) {
        vorn_set_user_parameters(*o.user[0], *o.user[1], *o.user[2]);
    } else if (o.alpha) {
        const double alpha = *o.alpha;
        const double delta = o.delta.value_or(0.0);
        const double beta = o.beta.value_or(0.0);
        vorn_set_user_parameters(alpha * (1.0 + delta / 100.0), -(alpha * delta) / 1e4, -(alpha * beta) / 1e8);
    }
    vorn_set_type(o.type);
}

// Buffered standard output; a write error ends the run with status 1.
class output {
public:
    ~output() { flush(); }

    void put(std::string_view s) {
        buffer_.append(s);
        if (buffer_.size() >= 1 << 16) {
            flush();
        }
    }

    void put(char c) { buffer_.push_back(c); }

    void number(double x, int digits) {
        char text[64];
        if (std::isnan(x)) {
            put("nan");
            return;
        }
        const auto result = digits < 0 ? std::to_chars(text, text + sizeof text, x)
                                       : std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, digits);
        if (result.ec != std::errc()) {
            // Fixed notation of a huge value can exceed the buffer: fall back
            // to the shortest form.
            put(std::string_view(text, std::to_chars(text, text + sizeof text, x).ptr - text));
            return;
        }
        put(std::string_view(text, result.ptr - text));
    }

    void flush() {
        if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) != buffer_.size()) {
            write_failed();
        }
        buffer_.clear();
        if (std::fflush(stdout) != 0) {
            write_failed();
        }
    }

private:
    [[noreturn]] static void write_failed() {
        std::fprintf(stderr, "vornconv: cannot write standard output: %s\n", std::strerror(errno));
        std::_Exit(exit_bad_lines);
    }

    std::string buffer_;
};

double convert(mode what, double x) {
    double y;
    if (what == mode::resistance) {
        vorn_get_resistance(x, &y);
    } else {
        vorn_get_temperature(x, &y);
    }
    return y;
}

void put_csv_field(output& out, std::string_view text) {
    if (text.find_first_of(",\"") == std::string_view::npos) {
        out.put(text);
        return;
    }
    out.put('"');
    for (char c : text) {
        if (c == '"') {
            out.put('"');
        }
        out.put(c);
    }
    out.put('"');
}

// Converts one value given as text; returns false if it counts as bad.
bool convert_one(const options& o, output& out, std::string_view text, const char* where, long index) {
    const std::optional<double> x = parse_number(text);
    double y = 0.0;
    if (x) {
        y = convert(o.what, *x);
    }
    if (o.csv) {
        put_csv_field(out, trim(text));
        out.put(',');
    }
    if (x) {
        out.number(y, o.digits);
    }
    out.put('\n');
    if (!x) {
        std::fprintf(stderr, "vornconv: %s %ld: not a number: '%.*s'\n", where, index, static_cast<int>(text.size()),
                     text.data());
        return false;
    }
    if (o.strict && std::isnan(y)) {
        std::fprintf(stderr, "vornconv: %s %ld: no solution for %.*s\n", where, index, static_cast<int>(text.size()),
                     text.data());
        return false;
    }
    return true;
}

int convert_stream(const options& o, output& out) {
    bool all_good = true;
    long line_number = 0;
    std::string pending;
    std::vector<char> chunk(1 << 16);
    auto handle = [&](std::string_view line) {
        ++line_number;
        const std::string_view content = trim(line);
        if (content.empty() || content[0] == '#') {
            out.put(line);
            out.put('\n');
            return;
        }
        all_good = convert_one(o, out, line, "line", line_number) && all_good;
    };
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), stdin);
        if (n == 0) {
            break;
        }
        std::string_view data(chunk.data(), n);
        while (!data.empty()) {
            const auto newline = data.find('\n');
            if (newline == std::string_view::npos) {
                pending.append(data);
                break;
            }
            if (pending.empty()) {
                handle(data.substr(0, newline));
            } else {
                pending.append(data.substr(0, newline));
                handle(pending);
                pending.clear();
            }
            data.remove_prefix(newline + 1);
        }
    }
    if (!pending.empty()) {
        handle(pending);  // a last line without its line feed
    }
    if (std::ferror(stdin)) {
        std::fprintf(stderr, "vornconv: cannot read standard input\n");
        all_good = false;
    }
    return all_good ? 0 : exit_bad_lines;
}

int print_table(const options& o, output& out) {
    const double from = *o.from;
    const double step = *o.step;
    const double span = (*o.to - from) / step;
    constexpr double most_values = 1e7;
    if (!(span < most_values)) {
        usage_error("table: more than 10000000 values; use a larger --step");
    }
    // Each temperature is from + i * step, so that no error accumulates; the
    // last one may fall a rounding short of --to.
    const long count = static_cast<long>(std::floor(span + 1e-9)) + 1;
    if (o.csv) {
        out.put("temperature,resistance\n");
    }
    for (long i = 0; i < count; ++i) {
        const double t = from + static_cast<double>(i) * step;
        const double r = convert(mode::resistance, t);
        if (o.csv) {
            out.number(t, o.digits);
            out.put(',');
            out.number(r, o.digits);
            out.put('\n');
            continue;
        }
        if (i % 10 == 0) {
            out.number(t, o.digits);
        }
        out.put('\t');
        out.number(r, o.digits);
        if (i % 10 == 9 || i == count - 1) {
            out.put('\n');
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const options o = parse_arguments(argc, argv);
    configure(o);
    output out;
    int status = 0;
    if (o.what == mode::table) {
        status = print_table(o, out);
    } else if (o.values.empty()) {
        status = convert_stream(o, out);
    } else {
        bool all_good = true;
        for (std::size_t i = 0; i < o.values.size(); ++i) {
            all_good = convert_one(o, out, o.values[i], "argument", static_cast<long>(i) + 1) && all_good;
        }
        status = all_good ? 0 : exit_bad_lines;
    }
    out.flush();
    return status;
}
