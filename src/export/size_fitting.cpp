#include "export/size_fitting.h"

#include "app/memory_budget.h"
#include "export/best_palette.h"
#include "export/replacing_file.h"
#include "image/picture_bytes.h"

#include <wx/intl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <new>

namespace {

// The settings from the best (step 0) to the smallest: quality 100 down to 1; then at quality 1
// ever higher lossy levels asked of every frame, each the same share above the one before, up to
// the highest; then, at the highest, ever fewer colours. On grainy frames a higher lossy level
// keeps far more of the picture for its bytes than fewer colours do (3 to 4 dB at a seventh to a
// fifth of the lossless size).
const int kColourSteps[] = {128, 64, 32, 16, 8};
const int kQualitySteps = kHighestQuality - kLowestQuality + 1;
const int kLossySteps = 40;
const int kLastQualityStep = kQualitySteps - 1;
const int kLastLossyStep = kLastQualityStep + kLossySteps;
const int kLastStep = kLastLossyStep + static_cast<int>(sizeof kColourSteps / sizeof(int));
// Lossy levels below this save nothing even on grainy frames: the lossy steps begin here at the
// lowest.
const int kFirstLossyStep = 6;
// Whole encodes at most; the sample's are not counted.
const int kWholeEncodes = 3;
// A file that fits and is at least this share of the limit is taken; the sample's predictions
// aim at the middle of the window they leave, so that a misjudgement of a few percent either
// way still lands inside it.
const double kCloseEnough = 0.9;
const double kAimLow = 0.92;
const double kAimHigh = 0.98;
// Longer animations are predicted from runs of two consecutive frames spread over them:
// consecutive, so that optimised frames are judged as the frame after their own; about a
// sixth of the frames or fewer, so that a try costs little against a whole encode.
const int kRunLength = 2;
const int kFewestRuns = 2;
const int kMostRuns = 6;
const int kFramesPerRun = 12;
const double kNever = 1e18;
// How far the sample's prediction may miss the whole animation's size.
const double kSampleError = 0.03;
// How grainy frames shrink as the quality steps raise the lossy level: the logarithm of their
// size over the lossless size at each level, as measured on photographs (a slide show and a
// camera pan; between levels, along the line). They hardly shrink up to about level 15, then
// fast, then more slowly again down to about a third at the lowest quality's level.
const struct {
    int lossy;
    double shrink;
} kGrainyShrink[] = {{0, 0},       {12, -0.009}, {15, -0.027}, {18, -0.078},
                     {21, -0.155}, {26, -0.346}, {31, -0.595}, {36, -0.799},
                     {41, -0.950}, {46, -1.068}, {50, -1.157}};
// Samples at least this grainy are searched along kGrainyShrink.
const double kModelledGrain = 0.5;

// The options at `step` for frames `grain` grainy (0 to 1). Quality 1 gives each frame its lossy
// level only as far as the frame is grainy, while a level asked for applies to all: the lossy
// steps begin at quality 1's level for frames that grainy, so that the first of them continues
// from quality 1 instead of jumping past the sizes between.
ExportOptions AtStep(ExportOptions options, int step, double grain) {
    options.palette = PaletteMode::Best;
    options.maxBytes = 0;
    options.quality = std::max(kLowestQuality, kHighestQuality - step);
    options.lossy = kLossyOfQuality;
    if (step > kLastQualityStep) {
        const double lowest = std::max(kFirstLossyStep, LossyLevel(options, 1 - grain));
        const int beyond = std::min(step - kLastQualityStep, kLossySteps);
        options.lossy = static_cast<int>(std::lround(
            lowest * std::pow(kHighestLossy / lowest, static_cast<double>(beyond) / kLossySteps)));
    }
    options.colours = step <= kLastLossyStep ? 256 : kColourSteps[step - kLastLossyStep - 1];
    return options;
}

// Where the line through (a, sizeA) and (b, sizeB) meets `aim`, sizes as logarithms.
double Crossing(double a, double sizeA, double b, double sizeB, double aim) {
    if (std::abs(sizeA - sizeB) < 1e-9) {
        return a;
    }
    return a + (sizeA - aim) / (sizeA - sizeB) * (b - a);
}

// The logarithm of the size at `at` on the line through (a, sizeA) and (b, sizeB).
double Along(double a, double sizeA, double b, double sizeB, double at) {
    return a == b ? (sizeA + sizeB) / 2 : sizeA + (sizeB - sizeA) * (at - a) / (b - a);
}

// kGrainyShrink at `lossy`, the last level's beyond it.
double GrainyShrink(int lossy) {
    const int count = static_cast<int>(sizeof kGrainyShrink / sizeof kGrainyShrink[0]);
    for (int i = 1; i < count; ++i) {
        if (lossy <= kGrainyShrink[i].lossy) {
            return Along(kGrainyShrink[i - 1].lossy, kGrainyShrink[i - 1].shrink,
                         kGrainyShrink[i].lossy, kGrainyShrink[i].shrink, lossy);
        }
    }
    return kGrainyShrink[count - 1].shrink;
}

class SizeSearch {
public:
    explicit SizeSearch(const GifExportJob& job)
        : m_job(job), m_sample(SampleFrames(job.frameCount)),
          m_whole(static_cast<int>(m_sample.size()) == job.frameCount) {}

    // Reads how grainy the frames are where the sample is the whole animation; false when
    // stopped. Otherwise the first try reads the sample's pictures as it goes, so that reading
    // them and coding them share the two cores.
    bool ReadSample() {
        if (!m_whole) {
            return !(m_job.stopRequested && m_job.stopRequested());
        }
        for (int index : m_sample) {
            if (m_job.stopRequested && m_job.stopRequested()) {
                return false;
            }
            m_smoothness += Smoothness(m_job.frameSource(index));
        }
        m_grain = 1 - m_smoothness / static_cast<double>(m_sample.size());
        return true;
    }

    // The size predicted for the whole animation at `step`, from the sample, corrected by how
    // far the sample missed where the whole animation was encoded: by the nearest such step on
    // each side, its correction weighted by nearness.
    double Predicted(int step) {
        const double sampled = Sampled(step);
        if (m_whole || m_size.empty() || sampled >= kNever) {
            return sampled;
        }
        const auto above = m_size.lower_bound(step);
        if (above == m_size.end()) {
            return sampled * Correction(std::prev(above));
        }
        if (above->first == step || above == m_size.begin()) {
            return sampled * Correction(above);
        }
        const auto below = std::prev(above);
        const double share =
            static_cast<double>(step - below->first) / (above->first - below->first);
        return sampled * std::exp((1 - share) * std::log(Correction(below)) +
                                  share * std::log(Correction(above)));
    }

    // Encodes the whole animation at `step`; its bytes are kept when it is the best that fits.
    bool EncodeWhole(int step, GifExportResult* failure) {
        GifExportJob job = m_job;
        job.options = Options(step);
        std::vector<unsigned char> bytes;
        job.bytesOut = &bytes;
        const int pass = m_passes++;
        if (m_job.progress) {
            job.progress = [this, pass](int percent) {
                m_job.progress(std::min(99, (pass * 100 + percent) / kWholeEncodes));
            };
        }
        const GifExportResult result = EncodeGif(job);
        if (!result.ok) {
            *failure = result;
            return false;
        }
        m_size[step] = static_cast<double>(bytes.size());
        const bool fits = static_cast<long long>(bytes.size()) <= m_job.options.maxBytes;
        if (fits && (m_best < 0 || step < m_best)) {
            m_best = step;
            m_bestBytes.swap(bytes);
        }
        return true;
    }

    // A step from `low` to `high` predicted to land in the aimed window, or else the first one
    // predicted to fit under it; -1 when none is. The size falls with the step, but unevenly,
    // so each try is placed where the line through the two ends left meets the middle of the
    // window; an end kept twice has its size drawn halfway towards the aim, so that a bent
    // curve still closes in. On grainy frames the high end is not tried until the tries call
    // for it: the way such frames shrink stands in for it, at first as measured, then along the
    // line through the last two tries.
    int Choose(int low, int high) {
        // Each part of the ladder takes the size down at a pace of its own: a line through both
        // ends of the whole ladder would miss the quality steps, so those come first, the lossy
        // steps only when even the lowest quality does not fit, and the colour steps last.
        for (int edge : {kLastQualityStep, kLastLossyStep}) {
            if (low < edge && edge < high) {
                const int within = Choose(low, edge);
                return within >= 0 ? within : Choose(edge, high);
            }
        }
        const double limit = static_cast<double>(m_job.options.maxBytes);
        const double top = std::log(kAimHigh * limit), bottom = std::log(kAimLow * limit);
        const double aim = (top + bottom) / 2;
        double lowSize = std::log(Predicted(low));
        if (lowSize <= top) {
            return low;
        }
        // The high end as expected until it is tried.
        double highSize = lowSize + Shrink(high) - Shrink(low);
        bool highTried = false;
        int kept = 0; // the end the last try kept: -1 the high one, 1 the low one
        for (;;) {
            const double crossing = Crossing(Position(low), lowSize, Position(high), highSize, aim);
            if (!highTried &&
                (highSize >= lowSize || crossing >= Position(high) || high - low <= 1)) {
                highTried = true;
                highSize = std::log(Predicted(high));
                if (highSize > top) {
                    return -1;
                }
                if (highSize >= bottom) {
                    return high;
                }
                continue;
            }
            if (high - low <= 1) {
                return high;
            }
            const int next = StepNear(crossing, low, high);
            // Over two steps the size bends too little for a try to tell more than the line
            // between the sizes tried: where that meets the window, the step between is taken.
            if (highTried && high - low == 2) {
                const double between =
                    Along(Position(low), std::log(Predicted(low)), Position(high),
                          std::log(Predicted(high)), Position(next));
                if (between <= top && between >= bottom) {
                    return next;
                }
            }
            const double size = std::log(Predicted(next));
            if (size <= top && size >= bottom) {
                return next;
            }
            if (size > top) {
                if (!highTried && Position(next) > Position(low)) {
                    highSize = Along(Position(low), lowSize, Position(next), size, Position(high));
                } else if (kept < 0 && highTried) {
                    highSize = (highSize + aim) / 2;
                }
                low = next;
                lowSize = size;
                kept = -1;
            } else {
                high = next;
                highSize = size;
                highTried = true;
                if (kept > 0) {
                    lowSize = (lowSize + aim) / 2;
                }
                kept = 1;
            }
        }
    }

    // The steps tried whose sizes are predicted so near the smallest that the sample cannot tell
    // them apart; the last step when none was tried.
    std::vector<int> NearlySmallest() {
        double least = Predicted(kLastStep);
        const std::map<int, double>& tried = m_whole ? m_size : m_sampled;
        for (const auto& step : tried) {
            least = std::min(least, Predicted(step.first));
        }
        // Steps the sample finds of the very same size are taken to write the same file, as
        // where frames keep their exact colours: the first of them stands for the others.
        std::vector<int> steps;
        std::vector<double> sizes;
        for (const auto& step : tried) {
            const double size = Predicted(step.first);
            if (size <= least * (1 + kSampleError) &&
                std::find(sizes.begin(), sizes.end(), size) == sizes.end()) {
                steps.push_back(step.first);
                sizes.push_back(size);
            }
        }
        if (steps.empty()) {
            steps.push_back(kLastStep);
        }
        return steps;
    }
    // The step of the smallest whole animation encoded.
    int SmallestWhole() const {
        return std::min_element(
                   m_size.begin(), m_size.end(),
                   [](const std::pair<const int, double>& a,
                      const std::pair<const int, double>& b) { return a.second < b.second; })
            ->first;
    }

    ExportOptions Options(int step) const { return AtStep(m_job.options, step, m_grain); }
    bool Encoded(int step) const { return m_size.count(step) != 0; }
    double WholeSize(int step) const { return m_size.at(step); }
    int Best() const { return m_best; }
    const std::vector<unsigned char>& BestBytes() const { return m_bestBytes; }

private:
    // Where `step` lies for the search's lines: the sizes fall about evenly along it. Grainy
    // frames shrink with the lossy level as kGrainyShrink has it; smooth ones with the
    // palette's quality and dithering, which fall with each step alike. Past the quality steps,
    // the step itself.
    double Position(int step) const {
        if (step >= kLastQualityStep) {
            return step;
        }
        const double lowest = GrainyShrink(LossyLevel(Options(kLastQualityStep)));
        const double grainy = GrainyShrink(LossyLevel(Options(step))) / lowest * kLastQualityStep;
        return m_grain * grainy + (1 - m_grain) * step;
    }

    // How much smaller than at step 0 the sample is expected at `step`, as a logarithm: on
    // grainy frames as kGrainyShrink has it, as far as they are grainy; 0 where nothing is
    // expected.
    double Shrink(int step) const {
        if (m_grain < kModelledGrain || step > kLastQualityStep) {
            return 0;
        }
        return m_grain * GrainyShrink(LossyLevel(Options(step)));
    }

    // The step between `low` and `high`, both left out, whose position is nearest `position`.
    int StepNear(double position, int low, int high) const {
        int nearest = low + 1;
        for (int step = low + 2; step < high; ++step) {
            if (std::abs(Position(step) - position) < std::abs(Position(nearest) - position)) {
                nearest = step;
            }
        }
        return nearest;
    }

    double Correction(std::map<int, double>::const_iterator whole) {
        return whole->second / std::max(1.0, Sampled(whole->first));
    }

    double Sampled(int step) {
        if (m_whole) {
            if (!Encoded(step)) {
                GifExportResult ignored;
                EncodeWhole(step, &ignored);
            }
            return m_size.count(step) ? m_size[step] : kNever;
        }
        const auto known = m_sampled.find(step);
        if (known != m_sampled.end()) {
            return known->second;
        }
        GifExportJob job = m_job;
        job.options = Options(step);
        job.frameSource = [this](int i) { return Picture(i); };
        const double size = SampledBytes(job, m_sample);
        if (m_noMemory) {
            throw std::bad_alloc();
        }
        if (m_pictures.size() == m_sample.size()) {
            m_grain = 1 - m_smoothness / static_cast<double>(m_sample.size());
        }
        return m_sampled[step] = size > 0 ? size : kNever;
    }

    // The i-th picture of the sample, read from the job's source the first time it is asked
    // for (the tries ask in increasing order, one at a time). The pictures kept count against
    // the memory of the process like any others: without room for them the export ends for
    // want of memory.
    wxImage Picture(size_t i) {
        if (i < m_pictures.size() || m_noMemory) {
            return i < m_pictures.size() ? m_pictures[i] : wxImage();
        }
        const wxImage picture = m_job.frameSource(m_sample[i]);
        m_charges.emplace_back(MemoryBudget::Process(), PictureBytes(picture));
        if (!m_charges.back().Held()) {
            m_noMemory = true;
            return wxImage();
        }
        m_smoothness += Smoothness(picture);
        m_pictures.push_back(picture.Copy());
        return m_pictures.back();
    }

    const GifExportJob& m_job;
    std::vector<int> m_sample;
    bool m_whole;
    // How grainy the sample's frames are, from 0 (all smooth) to 1, once all are read, and the
    // sum of the Smoothness of those read.
    double m_grain = 1;
    double m_smoothness = 0;
    // A picture of the sample did not fit into memory.
    bool m_noMemory = false;
    // Released after the pictures they are for.
    std::vector<MemoryCharge> m_charges;
    std::vector<wxImage> m_pictures;
    std::map<int, double> m_sampled;
    std::map<int, double> m_size;
    int m_passes = 0;
    int m_best = -1;
    std::vector<unsigned char> m_bestBytes;
};

} // namespace

std::vector<int> SampleFrames(int frameCount) {
    const int runs = std::max(kFewestRuns, std::min(kMostRuns, frameCount / kFramesPerRun));
    std::vector<int> sample;
    if (frameCount <= runs * kRunLength * 2) {
        for (int i = 0; i < frameCount; ++i) {
            sample.push_back(i);
        }
        return sample;
    }
    for (int run = 0; run < runs; ++run) {
        const int start = (frameCount - kRunLength) * run / (runs - 1);
        for (int i = start; i < start + kRunLength; ++i) {
            sample.push_back(i);
        }
    }
    return sample;
}

double SampledBytes(GifExportJob job, const std::vector<int>& sample) {
    const int frameCount = job.frameCount;
    job.frameCount = static_cast<int>(sample.size());
    if (!job.delays.empty()) {
        std::vector<int> delays;
        for (int index : sample) {
            delays.push_back(job.delays[index]);
        }
        job.delays = delays;
    }
    // The first frame carries the file's header and stands for itself. A frame following a
    // frame that is not its own predecessor (a run's first) is left out: optimised, it holds
    // the whole jump from one run to the next, which the animation never makes. It is only
    // prepared, for the frame after it.
    job.uncoded.assign(sample.size(), false);
    for (size_t i = 1; i < sample.size(); ++i) {
        job.uncoded[i] = sample[i] != sample[i - 1] + 1;
    }
    job.partSource = nullptr;
    job.options.maxBytes = 0;
    std::vector<unsigned char> bytes;
    job.bytesOut = &bytes;
    std::vector<size_t> ends;
    job.progress = [&ends, &bytes](int) { ends.push_back(bytes.size()); };
    if (!EncodeGif(job).ok || ends.size() != sample.size()) {
        return 0;
    }
    if (job.frameCount == frameCount) {
        return static_cast<double>(bytes.size());
    }
    double following = 0;
    int counted = 0;
    for (size_t i = 1; i < sample.size(); ++i) {
        if (!job.uncoded[i]) {
            following += static_cast<double>(ends[i] - ends[i - 1]);
            ++counted;
        }
    }
    return static_cast<double>(ends[0]) + following / std::max(1, counted) * (frameCount - 1);
}

GifExportResult FitUnderSize(const GifExportJob& job) {
    SizeSearch search(job);
    GifExportResult result;
    if (!search.ReadSample()) {
        result.stopped = true;
        result.message = wxString::Format(
            _("Saving \"%s\" was stopped; the file was left as it was."), job.path);
        return result;
    }
    // Steps known not to fit (the highest) and to fit (the lowest); the next try lies between.
    const double limit = static_cast<double>(job.options.maxBytes);
    int failing = -1;
    int step = search.Choose(0, kLastStep);
    for (int attempt = 0; step >= 0 && attempt < kWholeEncodes; ++attempt) {
        if (!search.Encoded(step) && !search.EncodeWhole(step, &result)) {
            return result;
        }
        const double size = search.WholeSize(step);
        if (size > limit) {
            failing = std::max(failing, step);
        } else if (size >= kCloseEnough * limit || step == failing + 1) {
            break;
        }
        const int fitting = search.Best() < 0 ? kLastStep + 1 : search.Best();
        if (fitting - failing <= 1) {
            break;
        }
        step = search.Choose(failing + 1, fitting - 1);
        if (step >= 0 && search.Encoded(step)) {
            break;
        }
    }
    // Fewer colours, dithered, can make a file larger, and the sample cannot tell apart steps
    // nearer than it misses: the smallest setting is the smallest whole encode of those the
    // sample found smallest.
    if (search.Best() < 0) {
        for (int step : search.NearlySmallest()) {
            if (search.Best() < 0 && !search.Encoded(step) && !search.EncodeWhole(step, &result)) {
                return result;
            }
        }
    }
    if (search.Best() < 0) {
        const int step = search.SmallestWhole();
        const ExportOptions smallest = search.Options(step);
        result = GifExportResult();
        result.bytes = static_cast<unsigned long long>(search.WholeSize(step));
        result.chosen = smallest;
        result.message = wxString::Format(
            _("Cannot save \"%s\" in %s: even quality %d, lossy level %d and %d colours make %s."),
            job.path, FormatByteSize(job.options.maxBytes), smallest.quality, LossyLevel(smallest),
            smallest.colours, FormatByteSize(result.bytes));
        return result;
    }
    const std::vector<unsigned char>& bytes = search.BestBytes();
    wxString error;
    if (!ReplaceFileWith(job.path, bytes.data(), bytes.size(), &error)) {
        result = GifExportResult();
        result.message = wxString::Format(_("Cannot write \"%s\": %s"), job.path, error);
        return result;
    }
    if (job.progress) {
        job.progress(100);
    }
    result = GifExportResult();
    result.ok = true;
    result.bytes = bytes.size();
    result.chosen = search.Options(search.Best());
    result.chosen.lossy = LossyLevel(result.chosen);
    return result;
}

bool ParseByteSize(const wxString& text, long long* bytes) {
    wxString number = text;
    number.Trim(true).Trim(false);
    double scale = 1;
    const wxString upper = number.Upper();
    static const struct {
        const char* unit;
        double scale;
    } kUnits[] = {{"GB", 1e9}, {"MB", 1e6}, {"KB", 1e3}, {"G", 1e9},
                  {"M", 1e6},  {"K", 1e3},  {"B", 1}};
    for (const auto& unit : kUnits) {
        if (upper.EndsWith(unit.unit)) {
            scale = unit.scale;
            number = number.Left(number.length() - std::strlen(unit.unit));
            number.Trim(true);
            break;
        }
    }
    double value = 0;
    if (number.empty() || number.find_first_not_of("0123456789.") != wxString::npos ||
        !number.ToCDouble(&value)) {
        return false;
    }
    const double total = std::floor(value * scale);
    if (total < kSmallestGifBytes || total > static_cast<double>(kLargestByteLimit)) {
        return false;
    }
    *bytes = static_cast<long long>(total);
    return true;
}

wxString DescribeFit(const GifExportResult& result, long long maxBytes) {
    return wxString::Format(_("chose quality %d, lossy level %d, %d colours: %s of %s"),
                            result.chosen.quality, result.chosen.lossy, result.chosen.colours,
                            FormatByteSize(result.bytes), FormatByteSize(maxBytes));
}

wxString FormatByteSize(unsigned long long bytes) {
    if (bytes < 1000) {
        return wxString::Format(_("%llu bytes"), bytes);
    }
    if (bytes < 1000000) {
        return wxString::Format(_("%.1f KB"), bytes / 1e3);
    }
    return wxString::Format(_("%.2f MB"), bytes / 1e6);
}
