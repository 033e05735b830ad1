#include "export/size_fitting.h"

#include "export/replacing_file.h"

#include <wx/intl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

namespace {

// The settings from the best (step 0) to the smallest: quality 100 down to 1, then at quality
// 1 ever fewer colours.
const int kColourSteps[] = {128, 64, 32, 16, 8};
const int kQualitySteps = kHighestQuality - kLowestQuality + 1;
const int kLastStep = kQualitySteps - 1 + static_cast<int>(sizeof kColourSteps / sizeof(int));
// Whole encodes at most; the sample's are not counted.
const int kWholeEncodes = 3;
// The share of the limit the prediction aims at, so that a small misjudgement still fits; and
// the share below which a file that fits is tried again larger.
const double kAim = 0.96;
const double kCloseEnough = 0.9;
// Longer animations are predicted from runs of a few consecutive frames at the start, (the
// middle) and the end: consecutive, so that optimised frames are judged too; about a fifth of
// the frames or fewer, so that a try costs little against a whole encode.
const int kLongRuns = 3;
const int kLongFrom = 45;
const int kShortestRun = 2;
const int kLongestRun = 3;
const int kSampleShare = 5;

ExportOptions AtStep(ExportOptions options, int step) {
    options.palette = PaletteMode::Best;
    options.maxBytes = 0;
    options.lossy = kLossyOfQuality;
    options.quality = std::max(kLowestQuality, kHighestQuality - step);
    options.colours = step < kQualitySteps ? 256 : kColourSteps[step - kQualitySteps];
    return options;
}

class SizeSearch {
public:
    explicit SizeSearch(const GifExportJob& job)
        : m_job(job), m_sample(SampleFrames(job.frameCount)),
          m_whole(static_cast<int>(m_sample.size()) == job.frameCount) {}

    bool ReadSample() {
        if (m_whole) {
            return true;
        }
        for (int index : m_sample) {
            if (m_job.stopRequested && m_job.stopRequested()) {
                return false;
            }
            m_pictures.push_back(m_job.frameSource(index).Copy());
        }
        return true;
    }

    // The size predicted for the whole animation at `step`, from the sample; whole encodes
    // correct the prediction by how far it missed.
    double Predicted(int step) { return Sampled(step) * m_correction; }

    // Encodes the whole animation at `step`; its bytes are kept when it is the best that fits.
    bool EncodeWhole(int step, GifExportResult* failure) {
        GifExportJob job = m_job;
        job.options = AtStep(m_job.options, step);
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
        if (!m_whole) {
            m_correction = bytes.size() / std::max(1.0, Sampled(step));
        }
        const bool fits = static_cast<long long>(bytes.size()) <= m_job.options.maxBytes;
        if (fits && (m_best < 0 || step < m_best)) {
            m_best = step;
            m_bestBytes.swap(bytes);
        }
        return true;
    }

    // The first step predicted to fit the aim, from `from` on. The size falls with the step
    // about evenly in its logarithm, so each try is placed where the line through the two
    // steps around the aim meets it; the side that keeps its end is halved towards the other,
    // so that a bent curve still closes in.
    int FirstFitting(int from) {
        const double aim = std::log(kAim * m_job.options.maxBytes);
        int low = from, high = kLastStep;
        double lowSize = std::log(Predicted(low));
        if (lowSize <= aim) {
            return low;
        }
        double highSize = std::log(Predicted(high));
        if (highSize > aim) {
            return high;
        }
        // lowSize > aim >= highSize.
        int kept = 0;
        while (high - low > 1) {
            const double share = (lowSize - aim) / std::max(1e-9, lowSize - highSize);
            const int middle = std::max(
                low + 1, std::min(high - 1, low + static_cast<int>(share * (high - low) + 0.5)));
            const double size = std::log(Predicted(middle));
            if (size > aim) {
                low = middle;
                lowSize = size;
                if (kept > 0) {
                    highSize = (highSize + aim) / 2;
                }
                kept = 1;
            } else {
                high = middle;
                highSize = size;
                if (kept < 0) {
                    lowSize = (lowSize + aim) / 2;
                }
                kept = -1;
            }
        }
        return high;
    }

    bool Encoded(int step) const { return m_size.count(step) != 0; }
    double WholeSize(int step) const { return m_size.at(step); }
    int Best() const { return m_best; }
    const std::vector<unsigned char>& BestBytes() const { return m_bestBytes; }

private:
    double Sampled(int step) {
        if (m_whole) {
            if (!Encoded(step)) {
                GifExportResult ignored;
                EncodeWhole(step, &ignored);
            }
            return m_size.count(step) ? m_size[step] : 1e18;
        }
        const auto known = m_sampled.find(step);
        if (known != m_sampled.end()) {
            return known->second;
        }
        GifExportJob job = m_job;
        job.options = AtStep(m_job.options, step);
        job.frameCount = static_cast<int>(m_pictures.size());
        job.frameSource = [this](int i) { return m_pictures[i]; };
        job.partSource = nullptr;
        job.progress = nullptr;
        std::vector<unsigned char> bytes;
        job.bytesOut = &bytes;
        const GifExportResult result = EncodeGif(job);
        const double size =
            result.ok ? static_cast<double>(bytes.size()) * m_job.frameCount / m_pictures.size()
                      : 1e18;
        m_sampled[step] = size;
        return size;
    }

    const GifExportJob& m_job;
    std::vector<int> m_sample;
    bool m_whole;
    std::vector<wxImage> m_pictures;
    std::map<int, double> m_sampled;
    std::map<int, double> m_size;
    double m_correction = 1;
    int m_passes = 0;
    int m_best = -1;
    std::vector<unsigned char> m_bestBytes;
};

} // namespace

std::vector<int> SampleFrames(int frameCount) {
    const int runs = frameCount >= kLongFrom ? kLongRuns : kLongRuns - 1;
    const int length =
        std::max(kShortestRun, std::min(kLongestRun, frameCount / (kSampleShare * runs)));
    std::vector<int> sample;
    if (frameCount <= runs * length * 2) {
        for (int i = 0; i < frameCount; ++i) {
            sample.push_back(i);
        }
        return sample;
    }
    for (int run = 0; run < runs; ++run) {
        const int start = (frameCount - length) * run / (runs - 1);
        for (int i = start; i < start + length; ++i) {
            sample.push_back(i);
        }
    }
    return sample;
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
    // Steps known to fit (the lowest) and not to fit (the highest); the next try lies between.
    const double limit = static_cast<double>(job.options.maxBytes);
    int failing = -1;
    int step = search.FirstFitting(0);
    for (int attempt = 0; attempt < kWholeEncodes; ++attempt) {
        if (!search.Encoded(step) && !search.EncodeWhole(step, &result)) {
            return result;
        }
        const double size = search.WholeSize(step);
        if (size <= limit && (size >= kCloseEnough * limit || step == 0)) {
            break;
        }
        if (size > limit) {
            failing = std::max(failing, step);
        }
        const int fitting = search.Best() < 0 ? kLastStep + 1 : search.Best();
        int next = search.FirstFitting(0);
        if (size <= limit && next >= step) {
            next = (failing + step) / 2;
        }
        next = std::max(next, failing + 1);
        if (next >= fitting) {
            next = (failing + fitting) / 2;
        }
        if (next <= failing || next >= fitting || search.Encoded(next)) {
            break;
        }
        step = next;
    }
    if (search.Best() < 0 && !search.Encoded(kLastStep) &&
        !search.EncodeWhole(kLastStep, &result)) {
        return result;
    }
    if (search.Best() < 0) {
        const ExportOptions smallest = AtStep(job.options, kLastStep);
        result = GifExportResult();
        result.bytes = static_cast<unsigned long long>(search.WholeSize(kLastStep));
        result.chosen = smallest;
        result.message = wxString::Format(
            _("Cannot save \"%s\" in %s: even quality %d with %d colours makes %s."), job.path,
            FormatByteSize(job.options.maxBytes), smallest.quality, smallest.colours,
            FormatByteSize(result.bytes));
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
    result.chosen = AtStep(job.options, search.Best());
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
