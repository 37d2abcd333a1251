#!/usr/bin/env python3
"""Writes the sample word libraries under data/samples/.

A library is UTF-16LE text behind the byte-order mark FF FE, lines ending CR LF, the header {AC}
(English words, Chinese meanings) first. Each word line is word@[phonetics](word) meaning: the
phonetic part between the phonetic symbols "[" and "]", then the meaning keyword between the
meaning symbols "(" and ")" and the meaning after it, which the bar's meaning rows show. The
meaning holds no further "(": the meaning rows end at the next keyword. Several meanings are
parted by "；", which the meaning speech stops at; the "$" separator is not used, as the word
cards show it as it stands. The grouped sample marks its groups with "<" and ">".
"""

from pathlib import Path

HEADER = "{AC}"

# (word, phonetics, meaning)
WORDS = [
    ("apple", "ˈæpəl", "n. 苹果"),
    ("banana", "bəˈnɑːnə", "n. 香蕉"),
    ("orange", "ˈɒrɪndʒ", "n. 橙子；adj. 橙色的"),
    ("water", "ˈwɔːtə", "n. 水；v. 浇水"),
    ("bread", "bred", "n. 面包"),
    ("rice", "raɪs", "n. 米饭；大米"),
    ("milk", "mɪlk", "n. 牛奶"),
    ("egg", "eɡ", "n. 鸡蛋"),
    ("tea", "tiː", "n. 茶"),
    ("coffee", "ˈkɒfi", "n. 咖啡"),
    ("book", "bʊk", "n. 书；v. 预订"),
    ("pen", "pen", "n. 钢笔"),
    ("paper", "ˈpeɪpə", "n. 纸；n. 论文"),
    ("desk", "desk", "n. 书桌"),
    ("chair", "tʃeə", "n. 椅子"),
    ("table", "ˈteɪbəl", "n. 桌子；n. 表格"),
    ("door", "dɔː", "n. 门"),
    ("window", "ˈwɪndəʊ", "n. 窗户"),
    ("house", "haʊs", "n. 房子"),
    ("home", "həʊm", "n. 家；adv. 在家"),
    ("school", "skuːl", "n. 学校"),
    ("teacher", "ˈtiːtʃə", "n. 教师"),
    ("student", "ˈstjuːdənt", "n. 学生"),
    ("friend", "frend", "n. 朋友"),
    ("family", "ˈfæməli", "n. 家庭；家人"),
    ("mother", "ˈmʌðə", "n. 母亲"),
    ("father", "ˈfɑːðə", "n. 父亲"),
    ("brother", "ˈbrʌðə", "n. 兄弟"),
    ("sister", "ˈsɪstə", "n. 姐妹"),
    ("child", "tʃaɪld", "n. 孩子"),
    ("man", "mæn", "n. 男人"),
    ("woman", "ˈwʊmən", "n. 女人"),
    ("people", "ˈpiːpəl", "n. 人们"),
    ("city", "ˈsɪti", "n. 城市"),
    ("country", "ˈkʌntri", "n. 国家；n. 乡村"),
    ("road", "rəʊd", "n. 路"),
    ("car", "kɑː", "n. 汽车"),
    ("bus", "bʌs", "n. 公共汽车"),
    ("train", "treɪn", "n. 火车；v. 训练"),
    ("plane", "pleɪn", "n. 飞机"),
    ("ship", "ʃɪp", "n. 船；v. 运送"),
    ("bike", "baɪk", "n. 自行车"),
    ("time", "taɪm", "n. 时间；n. 次数"),
    ("day", "deɪ", "n. 白天；日"),
    ("night", "naɪt", "n. 夜晚"),
    ("morning", "ˈmɔːnɪŋ", "n. 早晨"),
    ("week", "wiːk", "n. 星期"),
    ("month", "mʌnθ", "n. 月"),
    ("year", "jɪə", "n. 年"),
    ("today", "təˈdeɪ", "adv. 今天"),
    ("tomorrow", "təˈmɒrəʊ", "adv. 明天"),
    ("sun", "sʌn", "n. 太阳"),
    ("moon", "muːn", "n. 月亮"),
    ("star", "stɑː", "n. 星星；n. 明星"),
    ("sky", "skaɪ", "n. 天空"),
    ("rain", "reɪn", "n. 雨；v. 下雨"),
    ("snow", "snəʊ", "n. 雪；v. 下雪"),
    ("wind", "wɪnd", "n. 风"),
    ("tree", "triː", "n. 树"),
    ("flower", "ˈflaʊə", "n. 花"),
    ("river", "ˈrɪvə", "n. 河"),
    ("sea", "siː", "n. 海"),
    ("mountain", "ˈmaʊntɪn", "n. 山"),
    ("dog", "dɒɡ", "n. 狗"),
    ("cat", "kæt", "n. 猫"),
    ("bird", "bɜːd", "n. 鸟"),
    ("fish", "fɪʃ", "n. 鱼；v. 钓鱼"),
    ("horse", "hɔːs", "n. 马"),
    ("red", "red", "adj. 红色的"),
    ("blue", "bluː", "adj. 蓝色的；adj. 忧郁的"),
    ("green", "ɡriːn", "adj. 绿色的"),
    ("white", "waɪt", "adj. 白色的"),
    ("black", "blæk", "adj. 黑色的"),
    ("big", "bɪɡ", "adj. 大的"),
    ("small", "smɔːl", "adj. 小的"),
    ("good", "ɡʊd", "adj. 好的"),
    ("bad", "bæd", "adj. 坏的"),
    ("new", "njuː", "adj. 新的"),
    ("old", "əʊld", "adj. 老的；旧的"),
    ("hot", "hɒt", "adj. 热的"),
    ("cold", "kəʊld", "adj. 冷的；n. 感冒"),
    ("happy", "ˈhæpi", "adj. 快乐的"),
    ("sad", "sæd", "adj. 悲伤的"),
    ("easy", "ˈiːzi", "adj. 容易的"),
    ("difficult", "ˈdɪfɪkəlt", "adj. 困难的"),
    ("fast", "fɑːst", "adj. 快的；adv. 快地"),
    ("slow", "sləʊ", "adj. 慢的"),
    ("long", "lɒŋ", "adj. 长的"),
    ("short", "ʃɔːt", "adj. 短的；矮的"),
    ("light", "laɪt", "n. 光；adj. 轻的"),
    ("dark", "dɑːk", "adj. 黑暗的"),
    ("beautiful", "ˈbjuːtɪfəl", "adj. 美丽的"),
    ("important", "ɪmˈpɔːtənt", "adj. 重要的"),
    ("go", "ɡəʊ", "v. 去；go on 继续"),
    ("come", "kʌm", "v. 来"),
    ("eat", "iːt", "v. 吃"),
    ("drink", "drɪŋk", "v. 喝；n. 饮料"),
    ("sleep", "sliːp", "v. 睡觉"),
    ("read", "riːd", "v. 读"),
    ("write", "raɪt", "v. 写"),
    ("speak", "spiːk", "v. 说；讲"),
    ("listen", "ˈlɪsən", "v. 听；listen to 听……"),
    ("see", "siː", "v. 看见"),
    ("look", "lʊk", "v. 看；look after 照顾"),
    ("take", "teɪk", "v. 拿；带走；take off 起飞"),
    ("give", "ɡɪv", "v. 给；give up 放弃"),
    ("make", "meɪk", "v. 做；制造"),
    ("get", "ɡet", "v. 得到；get up 起床"),
    ("put", "pʊt", "v. 放；put on 穿上"),
    ("buy", "baɪ", "v. 买"),
    ("sell", "sel", "v. 卖"),
    ("open", "ˈəʊpən", "v. 打开；adj. 开着的"),
    ("close", "kləʊz", "v. 关闭"),
    ("walk", "wɔːk", "v. 走；n. 散步"),
    ("run", "rʌn", "v. 跑"),
    ("swim", "swɪm", "v. 游泳"),
    ("sing", "sɪŋ", "v. 唱歌"),
    ("play", "pleɪ", "v. 玩；n. 戏剧"),
    ("work", "wɜːk", "v. 工作；n. 工作"),
    ("study", "ˈstʌdi", "v. 学习；n. 研究"),
    ("learn", "lɜːn", "v. 学会"),
    ("think", "θɪŋk", "v. 想；认为"),
    ("know", "nəʊ", "v. 知道"),
    ("like", "laɪk", "v. 喜欢；prep. 像"),
    ("love", "lʌv", "v. 爱；n. 爱"),
    ("help", "help", "v. 帮助；n. 帮助"),
    ("word", "wɜːd", "n. 单词；字"),
    ("language", "ˈlæŋɡwɪdʒ", "n. 语言"),
    ("question", "ˈkwestʃən", "n. 问题"),
    ("answer", "ˈɑːnsə", "n. 答案；v. 回答"),
    ("music", "ˈmjuːzɪk", "n. 音乐"),
    ("money", "ˈmʌni", "n. 钱"),
    ("world", "wɜːld", "n. 世界"),
    ("name", "neɪm", "n. 名字"),
    ("hand", "hænd", "n. 手"),
    ("head", "hed", "n. 头"),
    ("eye", "aɪ", "n. 眼睛"),
    ("heart", "hɑːt", "n. 心脏；n. 内心；by heart 凭记忆"),
    ("bank", "bæŋk", "n. 银行；n. 河岸"),
    ("break", "breɪk", "v. 打破；n. 休息；take a break 休息一下"),
]

EXTRA_WORDS = [
    ("baby", "ˈbeɪbi", "n. 婴儿"),
    ("parent", "ˈpeərənt", "n. 父亲；母亲"),
    ("map", "mæp", "n. 地图"),
    ("ticket", "ˈtɪkɪt", "n. 票"),
    ("hotel", "həʊˈtel", "n. 旅馆"),
]

GROUPS = [
    ("<Unit 1 Food>", ["apple", "banana", "bread", "rice", "milk", "egg", "tea", "coffee", "fish", "water"]),
    ("<Unit 2 Family>", ["mother", "father", "brother", "sister", "child", "baby", "parent", "family", "friend", "home"]),
    ("<Unit 3 Travel>", ["car", "bus", "train", "plane", "ship", "road", "city", "map", "ticket", "hotel"]),
    ("<Unit 4 School>", ["school", "teacher", "student", "book", "pen", "desk", "read", "write", "learn", "question"]),
]


def word_line(word, phonetics, meaning):
    return f"{word}@[{phonetics}]({word}) {meaning}"


def write_library(path, lines):
    text = "\r\n".join(lines) + "\r\n"
    path.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))


def main():
    samples = Path(__file__).resolve().parent.parent / "data" / "samples"
    samples.mkdir(parents=True, exist_ok=True)
    write_library(samples / "English-Chinese.abc", [HEADER] + [word_line(*entry) for entry in WORDS])

    by_word = {entry[0]: entry for entry in WORDS + EXTRA_WORDS}
    grouped = [HEADER]
    for caption, words in GROUPS:
        grouped.append(caption)
        grouped.extend(word_line(*by_word[word]) for word in words)
    write_library(samples / "English-Chinese-Groups.abc", grouped)


if __name__ == "__main__":
    main()
